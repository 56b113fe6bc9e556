#include "config/visibletext.h"

namespace VisibleText {

QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        const bool control = (u < 0x20 && u != u'\t' && u != u'\n') || (u >= 0x7F && u <= 0x9F);
        if (!control) {
            out.append(ch);
            continue;
        }
        out.append(QStringLiteral("\\x"));
        out.append(QString::number(u, 16).rightJustified(2, QLatin1Char('0')));
    }
    return out;
}

} // namespace VisibleText
