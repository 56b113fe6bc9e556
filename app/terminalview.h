#pragma once

#include "device/terminalmodel.h"

#include <QObject>

#include <functional>

class QBoxLayout;
class QHBoxLayout;
class QCheckBox;
class QPushButton;
class QTextEdit;

// Shows the terminal's line model in the log widget, with the switches for
// timestamps and the hex view and the buttons to clear and to save the log.
class TerminalView : public QObject
{
    Q_OBJECT

public:
    // The controls go into `layout` at `index`; the log widget stays where it is.
    TerminalView(QTextEdit *log, QBoxLayout *layout, int index, QObject *parent = nullptr);

    // Asks where to save (empty: cancelled) and reports a failed save; the
    // window answers both, so that its tests can.
    std::function<QString()> chooseFile;
    std::function<void()> saveFailed;

    void append(TerminalModel::Direction direction, const QByteArray &bytes);
    const TerminalModel &model() const { return m_model; }

    QCheckBox *timestampsBox() const { return m_timestamps; }
    QCheckBox *hexBox() const { return m_hex; }
    QPushButton *clearButton() const { return m_clear; }
    QPushButton *saveButton() const { return m_save; }
    QHBoxLayout *controlsRow() const { return m_row; }

    void redraw();
    void save();

private:
    void drawFrom(int line);
    TerminalModel::RenderOptions options() const;

    QTextEdit *m_log;
    QHBoxLayout *m_row;
    TerminalModel m_model;
    QList<int> m_starts; // document position where each line begins
    QCheckBox *m_timestamps;
    QCheckBox *m_hex;
    QPushButton *m_clear;
    QPushButton *m_save;
};
