#include "app/terminalview.h"

#include "device/savetext.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QDateTime>
#include <QDebug>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

TerminalView::TerminalView(QTextEdit *log, QBoxLayout *layout, int index, QObject *parent)
    : QObject(parent), m_log(log)
{
    auto *row = m_row = new QHBoxLayout;
    m_timestamps = new QCheckBox(tr("Время"), log->parentWidget());
    m_timestamps->setObjectName(QStringLiteral("termTimestamps"));
    m_hex = new QCheckBox(QStringLiteral("HEX"), log->parentWidget());
    m_hex->setObjectName(QStringLiteral("termHex"));
    m_clear = new QPushButton(tr("Очистить"), log->parentWidget());
    m_clear->setObjectName(QStringLiteral("termClear"));
    m_save = new QPushButton(tr("Сохранить..."), log->parentWidget());
    m_save->setObjectName(QStringLiteral("termSave"));
    row->addWidget(m_timestamps);
    row->addWidget(m_hex);
    row->addStretch();
    row->addWidget(m_clear);
    row->addWidget(m_save);
    layout->insertLayout(index, row);

    connect(m_timestamps, &QCheckBox::toggled, this, &TerminalView::redraw);
    connect(m_hex, &QCheckBox::toggled, this, &TerminalView::redraw);
    connect(m_clear, &QPushButton::clicked, this, [this] {
        m_model.clear();
        redraw();
    });
    connect(m_save, &QPushButton::clicked, this, &TerminalView::save);
}

TerminalModel::RenderOptions TerminalView::options() const
{
    TerminalModel::RenderOptions o;
    o.timestamps = m_timestamps->isChecked();
    o.hex = m_hex->isChecked();
    return o;
}

void TerminalView::append(TerminalModel::Direction direction, const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    bool dropped = false;
    const int from = m_model.append(direction, bytes, QDateTime::currentMSecsSinceEpoch(), &dropped);
    if (dropped)
        redraw();
    else
        drawFrom(from);
}

void TerminalView::redraw()
{
    m_log->clear();
    m_starts.clear();
    if (!m_model.notice().isEmpty()) {
        QTextCharFormat format = m_log->currentCharFormat();
        format.setForeground(QBrush(Qt::darkGray));
        QTextCursor cursor(m_log->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(m_model.notice(), format);
    }
    drawFrom(0);
}

void TerminalView::drawFrom(int line)
{
    const QList<TerminalModel::Line> &lines = m_model.lines();
    // What is drawn from that line on goes, and is drawn again.
    if (line < m_starts.size()) {
        QTextCursor cut(m_log->document());
        cut.setPosition(m_starts.at(line));
        cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cut.removeSelectedText();
        m_starts.erase(m_starts.begin() + line, m_starts.end());
    }
    const TerminalModel::RenderOptions o = options();
    for (int i = int(m_starts.size()); i < lines.size(); ++i) {
        const TerminalModel::Line &l = lines.at(i);
        QTextCharFormat format = m_log->currentCharFormat();
        format.setForeground(QBrush(l.direction == TerminalModel::Sent ? Qt::darkRed : Qt::darkBlue));
        QTextCursor cursor = m_log->textCursor();
        cursor.movePosition(QTextCursor::End);
        m_starts.append(cursor.position());
        m_log->setTextCursor(cursor);
        m_log->setCurrentCharFormat(format);
        // With timestamps every line starts on a line of its own, also after
        // an unfinished one of the other side.
        const bool breakBefore = o.timestamps && !o.hex && i > 0 && !lines.at(i - 1).finished();
        m_log->insertPlainText((breakBefore ? QStringLiteral("\n") : QString())
                               + TerminalModel::render(l, o));
    }
    m_log->ensureCursorVisible();
}

void TerminalView::save()
{
    const QString path = chooseFile ? chooseFile() : QString();
    if (path.isEmpty())
        return;
    QString error;
    if (!saveTextFile(path, m_model.toText(options()), &error)) {
        qDebug() << QStringLiteral("terminal save: %1: %2").arg(path, error);
        if (saveFailed)
            saveFailed();
    }
}
