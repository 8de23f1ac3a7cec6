#include "dialog/qt/qt_display_text.h"

QString DisplayText(const CatalogText& text, const std::string& narrow) {
    QString display = QString::fromStdString(text.ToUtf8(narrow));
    display.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    display.remove(QLatin1Char('\r'));
    return display;
}

std::string NarrowText(const CatalogText& text, const QString& display) {
    QString windows = display;
    windows.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text.ToNarrow(windows.toStdString());
}

QString WithoutMnemonics(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
        }
        plain += text[i];
    }
    return plain;
}
