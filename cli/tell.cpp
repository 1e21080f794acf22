#include "tell.h"

#include <cstdio>

QString Visible(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u != 0x7f && (u < 0x80 || u > 0x9f)) {
            shown += c;
        } else if (u == 0) {
            shown += QLatin1String("\\0");
        } else if (u == '\t') {
            shown += QLatin1String("\\t");
        } else if (u == '\n') {
            shown += QLatin1String("\\n");
        } else if (u == '\r') {
            shown += QLatin1String("\\r");
        } else {
            shown += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        }
    }
    return shown;
}

void TellFault(int line, const QString& error)
{
    const QByteArray text = Visible(error).toUtf8();
    if (line > 0)
        std::fprintf(stderr, "ruvola-batch: line %d: %s\n", line, text.constData());
    else
        std::fprintf(stderr, "ruvola-batch: %s\n", text.constData());
}
