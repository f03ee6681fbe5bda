#pragma once
// Program texts (UTF-8, line breaks as CR LF or CR) as Qt shows them.

#include <QString>
#include <string_view>

namespace updater {

inline QString ToQt(std::string_view text) {
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

}  // namespace updater
