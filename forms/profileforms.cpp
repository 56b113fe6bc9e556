#include "forms/profileforms.h"

#include "ui_ddnsform.h"
#include "ui_gprsform.h"
#include "ui_ntripform.h"

GprsForm::GprsForm(QWidget *parent) : QDialog(parent), ui(new Ui::GprsForm)
{
    ui->setupUi(this);
}

GprsForm::~GprsForm()
{
    delete ui;
}

void GprsForm::clearFields()
{
    ui->gprsProfileName->clear();
    ui->gprsProfileAccessPoint->clear();
    ui->gprsProfileUser->clear();
    ui->gprsProfilePassword->clear();
}

void GprsForm::on_gprsAdd_clicked()
{
    clearFields();
    ui->gprsProfileName->setFocus();
}

NtripForm::NtripForm(QWidget *parent) : QDialog(parent), ui(new Ui::NtripForm)
{
    ui->setupUi(this);
}

NtripForm::~NtripForm()
{
    delete ui;
}

void NtripForm::setMode(NtripDialogMode mode)
{
    ui->ntripCommonConfig->setVisible(true);
    ui->ntripClientConfig->setVisible(mode == NtripClientMode || mode == NtripCasterMode);
    ui->ntripServerConfig->setVisible(mode == NtripServerMode);
    ui->ntripCasterConfig->setVisible(mode == NtripCasterMode);
}

void NtripForm::clearFields()
{
    ui->ntripProfileName->clear();
    ui->ntripProfileAddress->clear();
    ui->ntripProfilePort->clear();
    ui->ntripProfileMountpoint->clear();
    ui->ntripProfileClientUsername->clear();
    ui->ntripProfileClientPassword->clear();
    ui->ntripProfileServerPassword->clear();
    ui->ntripProfileSourcetable->clear();
}

void NtripForm::on_ntripAdd_clicked()
{
    clearFields();
    ui->ntripProfileName->setFocus();
}

DdnsForm::DdnsForm(QWidget *parent) : QDialog(parent), ui(new Ui::DdnsForm)
{
    ui->setupUi(this);
}

DdnsForm::~DdnsForm()
{
    delete ui;
}

void DdnsForm::clearFields()
{
    ui->dyndnsDomain->clear();
    ui->dyndnsUsername->clear();
    ui->dyndnsPassword->clear();
}
