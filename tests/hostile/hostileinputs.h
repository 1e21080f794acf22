// The hostile texts every box is tried with, and pasting them the way a user does.
#pragma once

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QString>

struct HostileInput {
    const char* name;  // the row's name
    QString text;
};

inline const QString kLongDigits = QString(10000, QLatin1Char('1'));
inline const QString kCjk = QStringLiteral("条码");
inline const QString kGreek = QStringLiteral("Ωμέγα");
inline const QString kEmoji = QString::fromUtf8("\xF0\x9F\x98\x80");  // one character, two UTF-16 units

inline const HostileInput kHostileInputs[] = {
    {"letters", "abc"},         {"empty", ""},  {"lone point", "."}, {"two points", "1.2.3"},
    {"10000 digits", kLongDigits}, {"CJK", kCjk}, {"Greek", kGreek},   {"emoji", kEmoji},
    {"1e300", "1e300"},         {"-5", "-5"},   {"nan", "nan"},      {"inf", "inf"},
    {"zero", "0"},
};

// Pastes text into box through the clipboard, replacing what it held.
inline void Paste(QLineEdit* box, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    box->selectAll();
    if (text.isEmpty())
        box->del();
    else
        box->paste();
}
