#pragma once

#include <QDialog>

#include <functional>

class ExchangeLog;
class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class QTimer;

// "Журнал обмена": a read-only view of the exchange log that follows new
// entries, with a save that hides secrets unless told to keep them.
class ExchangeLogWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ExchangeLogWindow(ExchangeLog &log, QWidget *parent = nullptr);

    // Asks where to save (empty: cancelled) and reports a failed save.
    std::function<QString()> chooseFile;
    std::function<void()> saveFailed;

    QPlainTextEdit *view() const { return m_view; }
    QCheckBox *secretsBox() const { return m_secrets; }
    QPushButton *saveButton() const { return m_save; }

    // Takes the entries logged since the last look (the timer calls it).
    void follow();
    void save();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void reload();

    ExchangeLog &m_log;
    QPlainTextEdit *m_view;
    QCheckBox *m_secrets;
    QPushButton *m_save;
    QTimer *m_timer;
    quint64 m_seen = 0;
};
