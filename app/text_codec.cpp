#include "app/text_codec.h"

#include <QByteArrayView>
#include <QStringDecoder>

QString FromCore(std::string_view text) {
  const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
  QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  QString decoded = utf8.decode(bytes);
  if (!utf8.hasError()) return decoded;
  return QString::fromLatin1(bytes);
}

std::string ToCore(const QString& text) {
  return text.toUtf8().toStdString();
}
