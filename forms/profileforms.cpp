#include "forms/profileforms.h"

#include "ui_ddnsform.h"
#include "ui_gprsform.h"
#include "ui_ntripform.h"

namespace {

void fillList(QListWidget *list, const QStringList &names, const QString &current)
{
    list->clear();
    for (int i = 0; i < names.size(); ++i) {
        list->addItem(names.at(i));
        if (names.at(i) == current)
            list->setCurrentRow(i);
    }
}

} // namespace

GprsForm::GprsForm(QWidget *parent) : QDialog(parent), ui(new Ui::GprsForm)
{
    ui->setupUi(this);
    connect(ui->gprsList, &QListWidget::currentRowChanged, this, &GprsForm::currentRowChanged);
    connect(ui->gprsProfileSave, &QAbstractButton::clicked, this, &GprsForm::saveClicked);
    connect(ui->gprsDelete, &QAbstractButton::clicked, this, &GprsForm::deleteClicked);
}

GprsProfile GprsForm::profile() const
{
    return { ui->gprsProfileName->text(), ui->gprsProfileAccessPoint->text(),
             ui->gprsProfileUser->text(), ui->gprsProfilePassword->text() };
}

void GprsForm::setProfile(const GprsProfile &p)
{
    ui->gprsProfileName->setText(p.name);
    ui->gprsProfileAccessPoint->setText(p.apn);
    ui->gprsProfileUser->setText(p.username);
    ui->gprsProfilePassword->setText(p.password);
}

void GprsForm::setNames(const QStringList &names, const QString &current)
{
    fillList(ui->gprsList, names, current);
}

int GprsForm::currentRow() const
{
    return ui->gprsList->currentRow();
}

QList<QWidget *> GprsForm::controls() const
{
    return { ui->gprsList,        ui->gprsDelete,          ui->gprsProfileName,
             ui->gprsProfileAccessPoint, ui->gprsProfileUser, ui->gprsProfilePassword,
             ui->gprsProfileSave };
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
    connect(ui->ntripList, &QListWidget::currentRowChanged, this, &NtripForm::currentRowChanged);
    connect(ui->ntripProfileSave, &QAbstractButton::clicked, this, &NtripForm::saveClicked);
    connect(ui->ntripDelete, &QAbstractButton::clicked, this, &NtripForm::deleteClicked);
}

NtripProfile NtripForm::profile() const
{
    return { ui->ntripProfileName->text(),
             ui->ntripProfileAddress->text(),
             ui->ntripProfilePort->text(),
             ui->ntripProfileMountpoint->text(),
             ui->ntripProfileClientUsername->text(),
             ui->ntripProfileClientPassword->text(),
             ui->ntripProfileServerPassword->text(),
             ui->ntripProfileSourcetable->text() };
}

void NtripForm::setProfile(const NtripProfile &p)
{
    ui->ntripProfileName->setText(p.name);
    ui->ntripProfileAddress->setText(p.address);
    ui->ntripProfilePort->setText(p.port);
    ui->ntripProfileMountpoint->setText(p.mountpoint);
    ui->ntripProfileClientUsername->setText(p.clientLogin);
    ui->ntripProfileClientPassword->setText(p.clientPassword);
    ui->ntripProfileServerPassword->setText(p.serverPassword);
    ui->ntripProfileSourcetable->setText(p.sourcetable);
}

void NtripForm::setNames(const QStringList &names, const QString &current)
{
    fillList(ui->ntripList, names, current);
}

int NtripForm::currentRow() const
{
    return ui->ntripList->currentRow();
}

QList<QWidget *> NtripForm::controls() const
{
    return { ui->ntripList,
             ui->ntripDelete,
             ui->ntripProfileName,
             ui->ntripProfileAddress,
             ui->ntripProfilePort,
             ui->ntripProfileMountpoint,
             ui->ntripProfileClientUsername,
             ui->ntripProfileClientPassword,
             ui->ntripProfileServerPassword,
             ui->ntripProfileSourcetable,
             ui->ntripProfileSave };
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

QString DdnsForm::domain() const
{
    return ui->dyndnsDomain->text();
}

QString DdnsForm::login() const
{
    return ui->dyndnsUsername->text();
}

QString DdnsForm::password() const
{
    return ui->dyndnsPassword->text();
}

void DdnsForm::setAccount(const QString &domain, const QString &login, const QString &password)
{
    ui->dyndnsDomain->setText(domain);
    ui->dyndnsUsername->setText(login);
    ui->dyndnsPassword->setText(password);
}

QList<QWidget *> DdnsForm::controls() const
{
    return { ui->dyndnsDomain, ui->dyndnsUsername, ui->dyndnsPassword };
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
