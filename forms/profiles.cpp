// The profile dialogs. They hold no list of their own: every change is
// written to the modem at once as a copy of the worker's record, and the
// read-back refills the dialogs and the boxes.
#include "app/mainwindow.h"

#include "forms/profileforms.h"
#include "ui_mainwindow.h"

#include "config/linevalues.h"

namespace {

// The record with the GPRS dialog's fields saved into it: every profile of
// that name is changed (the modem or a set file may deliver several), or the
// profile is appended when there is none.
KZConfig withGprsFields(const KZConfig &record, const GprsForm *f)
{
    const GprsProfile typed = f->profile();
    KZConfig copy = record;
    bool matched = false;
    for (GprsProfile &p : copy.gprsProfiles) {
        if (p.name == typed.name) {
            p = typed;
            matched = true;
        }
    }
    if (!matched)
        copy.gprsProfiles.append(typed);
    return copy;
}

// The same for the NTRIP dialog; hidden fields are saved too, with whatever
// they hold.
KZConfig withNtripFields(const KZConfig &record, const NtripForm *f)
{
    const NtripProfile typed = f->profile();
    KZConfig copy = record;
    bool matched = false;
    for (NtripProfile &p : copy.ntripProfiles) {
        if (p.name == typed.name) {
            p = typed;
            matched = true;
        }
    }
    if (!matched)
        copy.ntripProfiles.append(typed);
    return copy;
}

} // namespace

void MainWindow::editGprsProfiles(QComboBox *box)
{
    if (runDialog(gprsForm) != QDialog::Accepted)
        return;
    // A refused save leaves the box as it was.
    const bool fits = LineValues::check(withGprsFields(worker.record(), gprsForm),
                                        KZConfig::ConfigGprs)
                              .isEmpty();
    xon_gprsProfileSave_clicked();
    if (fits)
        box->setCurrentIndex(gprsForm->currentRow());
}

void MainWindow::editNtripProfiles(int mode, QComboBox *box)
{
    ntripForm->setMode(NtripDialogMode(mode));
    if (runDialog(ntripForm) != QDialog::Accepted)
        return;
    const bool fits = LineValues::check(withNtripFields(worker.record(), ntripForm),
                                        KZConfig::ConfigNtrip)
                              .isEmpty();
    xon_ntripProfileSave_clicked();
    if (fits)
        box->setCurrentIndex(ntripForm->currentRow());
}

void MainWindow::on_conRoverGprsEdit_clicked()
{
    editGprsProfiles(ui->conRoverGprsSelect);
}

void MainWindow::on_conBaseGprsEdit_clicked()
{
    editGprsProfiles(ui->conBaseGprsSelect);
}

void MainWindow::on_conRoverNtripEdit_clicked()
{
    editNtripProfiles(NtripClientMode, ui->conRoverNtripSelect);
}

void MainWindow::on_conBaseNtripCasterEdit_clicked()
{
    editNtripProfiles(NtripCasterMode, ui->conBaseNtripCasterSelect);
}

void MainWindow::on_conBaseNtripServerEdit_clicked()
{
    editNtripProfiles(NtripServerMode, ui->conBaseNtripServerSelect);
}

void MainWindow::on_conBaseDyndnsEdit_clicked()
{
    if (runDialog(ddnsForm) == QDialog::Accepted)
        xon_dyndnsSave_clicked();
}

void MainWindow::xon_gprsList_currentRowChanged(int row)
{
    // The list and the record are in the same order; a row the record does
    // not have (list emptied, or not yet refilled) shows nothing.
    const QList<GprsProfile> list = worker.record().gprsProfiles;
    if (row < 0 || row >= list.size())
        return;
    const GprsProfile &p = list.at(row);
    gprsForm->setProfile(p);
}

void MainWindow::xon_ntripList_currentRowChanged(int row)
{
    const QList<NtripProfile> list = worker.record().ntripProfiles;
    if (row < 0 || row >= list.size())
        return;
    const NtripProfile &p = list.at(row);
    ntripForm->setProfile(p);
}

void MainWindow::xon_gprsProfileSave_clicked()
{
    const KZConfig copy = withGprsFields(worker.record(), gprsForm);
    if (!valuesFitLine(copy, KZConfig::ConfigGprs))
        return;
    currentGprsName = gprsForm->profile().name;
    startWrite(copy, KZConfig::ConfigGprs);
}

void MainWindow::xon_ntripProfileSave_clicked()
{
    const KZConfig copy = withNtripFields(worker.record(), ntripForm);
    if (!valuesFitLine(copy, KZConfig::ConfigNtrip))
        return;
    currentNtripName = ntripForm->profile().name;
    startWrite(copy, KZConfig::ConfigNtrip);
}

void MainWindow::xon_gprsDelete_clicked()
{
    const int row = gprsForm->currentRow();
    if (row < 0)
        return;
    KZConfig copy = worker.record();
    if (row < copy.gprsProfiles.size())
        copy.gprsProfiles.removeAt(row);
    if (!valuesFitLine(copy, KZConfig::ConfigGprs))
        return;
    startWrite(copy, KZConfig::ConfigGprs);
}

void MainWindow::xon_ntripDelete_clicked()
{
    const int row = ntripForm->currentRow();
    if (row < 0)
        return;
    KZConfig copy = worker.record();
    if (row < copy.ntripProfiles.size())
        copy.ntripProfiles.removeAt(row);
    if (!valuesFitLine(copy, KZConfig::ConfigNtrip))
        return;
    startWrite(copy, KZConfig::ConfigNtrip);
}

void MainWindow::xon_dyndnsSave_clicked()
{
    // Empty fields are written as they are: switching DynDNS off is the
    // operating-mode save's job.
    KZConfig copy = worker.record();
    copy.dyndnsDomain = ddnsForm->domain();
    copy.dyndnsLogin = ddnsForm->login();
    copy.dyndnsPassword = ddnsForm->password();
    if (!valuesFitLine(copy, KZConfig::ConfigDyndns))
        return;
    startWrite(copy, KZConfig::ConfigDyndns);
}
