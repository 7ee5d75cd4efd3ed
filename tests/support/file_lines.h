#pragma once
// Reading back the text files the program writes: their lines and the rows
// of numbers below the "@" line.
#include <QFile>
#include <QLatin1Char>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The lines of a text file (CR LF or LF), UTF-8.
inline QStringList FileLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QString text = QString::fromUtf8(f.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// The rows below the "@" line, as pairs of numbers.
inline std::vector<std::pair<double, double>> DataRows(const QStringList& lines) {
    std::vector<std::pair<double, double>> rows;
    const auto at = lines.indexOf(QStringLiteral("@"));
    if (at < 0) return rows;
    for (auto i = at + 1; i < lines.size(); ++i) {
        const QStringList parts = lines[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() != 2) return {};
        rows.emplace_back(parts[0].toDouble(), parts[1].toDouble());
    }
    return rows;
}
