#pragma once

#include "config/kzconfig.h"

#include <QDialog>
#include <QList>
#include <QStringList>

namespace Ui {
class GprsForm;
class NtripForm;
class DdnsForm;
}

// The profile dialogs hold no data of their own beyond their widgets; the
// window reads and fills them through their values and learns of the
// user's choices from their signals.
class GprsForm : public QDialog
{
    Q_OBJECT

public:
    explicit GprsForm(QWidget *parent = nullptr);
    ~GprsForm() override;

    // The fields as typed, and filling them.
    GprsProfile profile() const;
    void setProfile(const GprsProfile &p);
    void clearFields();
    // The profile list, in record order; the row named `current` becomes
    // current, which shows that profile.
    void setNames(const QStringList &names, const QString &current);
    int currentRow() const;
    // The widgets usable only while a modem is connected.
    QList<QWidget *> controls() const;

signals:
    void currentRowChanged(int row);
    void saveClicked();
    void deleteClicked();

private slots:
    void on_gprsAdd_clicked();

private:
    Ui::GprsForm *ui;
};

enum NtripDialogMode { NtripClientMode = 0, NtripCasterMode = 1, NtripServerMode = 2 };

class NtripForm : public QDialog
{
    Q_OBJECT

public:
    explicit NtripForm(QWidget *parent = nullptr);
    ~NtripForm() override;

    // Shows the group boxes that the mode uses.
    void setMode(NtripDialogMode mode);
    // The fields as typed (hidden ones too), and filling them.
    NtripProfile profile() const;
    void setProfile(const NtripProfile &p);
    void clearFields();
    void setNames(const QStringList &names, const QString &current);
    int currentRow() const;
    QList<QWidget *> controls() const;

signals:
    void currentRowChanged(int row);
    void saveClicked();
    void deleteClicked();

private slots:
    void on_ntripAdd_clicked();

private:
    Ui::NtripForm *ui;
};

class DdnsForm : public QDialog
{
    Q_OBJECT

public:
    explicit DdnsForm(QWidget *parent = nullptr);
    ~DdnsForm() override;

    // The account's fields as typed, and filling them.
    QString domain() const;
    QString login() const;
    QString password() const;
    void setAccount(const QString &domain, const QString &login, const QString &password);
    void clearFields();
    QList<QWidget *> controls() const;

private:
    Ui::DdnsForm *ui;
};
