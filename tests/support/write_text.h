#pragma once
// Writes a test file holding exactly `text` (UTF-8).
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace kelvara::testing {

inline void WriteText(const QString& path, const QString& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

} // namespace kelvara::testing
