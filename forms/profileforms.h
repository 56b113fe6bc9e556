#pragma once

#include <QDialog>

namespace Ui {
class GprsForm;
class NtripForm;
class DdnsForm;
}

// The profile dialogs hold no data of their own beyond their widgets; the
// window's slots read and fill them.
class GprsForm : public QDialog
{
    Q_OBJECT

public:
    explicit GprsForm(QWidget *parent = nullptr);
    ~GprsForm() override;
    Ui::GprsForm *ui;

    void clearFields();

private slots:
    void on_gprsAdd_clicked();
};

enum NtripDialogMode { NtripClientMode = 0, NtripCasterMode = 1, NtripServerMode = 2 };

class NtripForm : public QDialog
{
    Q_OBJECT

public:
    explicit NtripForm(QWidget *parent = nullptr);
    ~NtripForm() override;
    Ui::NtripForm *ui;

    // Shows the group boxes that the mode uses.
    void setMode(NtripDialogMode mode);
    void clearFields();

private slots:
    void on_ntripAdd_clicked();
};

class DdnsForm : public QDialog
{
    Q_OBJECT

public:
    explicit DdnsForm(QWidget *parent = nullptr);
    ~DdnsForm() override;
    Ui::DdnsForm *ui;

    void clearFields();
};
