#include "app/exchangelogwindow.h"

#include "device/exchangelog.h"
#include "device/savetext.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QDebug>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

ExchangeLogWindow::ExchangeLogWindow(ExchangeLog &log, QWidget *parent)
    : QDialog(parent), m_log(log)
{
    setWindowTitle(tr("Журнал обмена"));
    setObjectName(QStringLiteral("exchangeLogWindow"));
    resize(720, 420);
    m_view = new QPlainTextEdit(this);
    m_view->setReadOnly(true);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Never more than the log itself holds.
    m_view->setMaximumBlockCount(m_log.capacity() + 1);
    QFont mono(QStringLiteral("monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    m_view->setFont(mono);
    m_secrets = new QCheckBox(tr("Не скрывать пароли и коды"), this);
    m_save = new QPushButton(tr("Сохранить..."), this);
    auto *close = new QPushButton(tr("Закрыть"), this);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_secrets);
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);

    m_timer = new QTimer(this);
    m_timer->setInterval(200);
    connect(m_timer, &QTimer::timeout, this, &ExchangeLogWindow::follow);
    connect(m_secrets, &QCheckBox::toggled, this, &ExchangeLogWindow::reload);
    connect(m_save, &QPushButton::clicked, this, &ExchangeLogWindow::save);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
}

void ExchangeLogWindow::showEvent(QShowEvent *event)
{
    reload();
    m_timer->start();
    QDialog::showEvent(event);
}

void ExchangeLogWindow::hideEvent(QHideEvent *event)
{
    m_timer->stop();
    QDialog::hideEvent(event);
}

void ExchangeLogWindow::reload()
{
    m_view->clear();
    m_seen = 0;
    follow();
}

void ExchangeLogWindow::follow()
{
    quint64 lost = 0;
    const QList<ExchangeEntry> entries = m_log.entriesAfter(m_seen, &lost);
    if (entries.isEmpty())
        return;
    QScrollBar *bar = m_view->verticalScrollBar();
    // Follows the end unless the user has scrolled up to read.
    const bool atEnd = bar->value() >= bar->maximum();
    const bool keep = m_secrets->isChecked();
    QStringList lines;
    if (lost > 0 && m_seen > 0)
        lines << tr("[пропущено записей: %1]").arg(lost);
    for (const ExchangeEntry &e : entries)
        lines << ExchangeLog::format(e, keep);
    m_seen = entries.constLast().seq;
    m_view->appendPlainText(lines.join(QLatin1Char('\n')));
    if (atEnd)
        bar->setValue(bar->maximum());
}

void ExchangeLogWindow::save()
{
    const QString path = chooseFile ? chooseFile() : QString();
    if (path.isEmpty())
        return;
    const QString text = ExchangeLog::formatAll(m_log.entriesAfter(0), m_secrets->isChecked());
    QString error;
    if (!saveTextFile(path, text, &error)) {
        qDebug() << QStringLiteral("exchange log save: %1: %2").arg(path, error);
        if (saveFailed)
            saveFailed();
    }
}
