#include "localisation/LangCodePage.h"

#include <QHash>

#include <iconv.h>
#include <array>
#include <cerrno>
#include <map>
#include <mutex>

namespace localisation {

namespace {

bool IsDoubleByte(int codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

QByteArray IconvName(int codePage) { return "CP" + QByteArray::number(codePage); }

// One conversion through iconv; empty optional on a sequence the target cannot hold.
// Invalid input bytes are replaced (decoding) or make the conversion fail (encoding).
std::optional<QByteArray> Convert(const QByteArray& to, const QByteArray& from,
                                  QByteArrayView input, bool replaceInvalid,
                                  const QByteArray& replacement) {
  iconv_t cd = iconv_open(to.constData(), from.constData());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  QByteArray out;
  out.resize(input.size() * 4 + 16);
  char* in = const_cast<char*>(input.data());
  size_t inLeft = size_t(input.size());
  char* dst = out.data();
  size_t outLeft = size_t(out.size());
  bool ok = true;
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) != size_t(-1)) continue;
    if (errno == E2BIG) {
      const qsizetype used = dst - out.data();
      out.resize(out.size() * 2);
      dst = out.data() + used;
      outLeft = size_t(out.size() - used);
      continue;
    }
    if (!replaceInvalid) {
      ok = false;
      break;
    }
    // An invalid or cut sequence: one byte becomes the replacement character.
    if (outLeft < size_t(replacement.size())) {
      const qsizetype used = dst - out.data();
      out.resize(out.size() + replacement.size() + 16);
      dst = out.data() + used;
      outLeft = size_t(out.size() - used);
    }
    memcpy(dst, replacement.constData(), size_t(replacement.size()));
    dst += replacement.size();
    outLeft -= size_t(replacement.size());
    ++in;
    --inLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  if (ok) iconv(cd, nullptr, nullptr, &dst, &outLeft);  // flush shift state, pending marks
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(dst - out.data());
  return out;
}

}  // namespace

struct LangCodec::Tables {
  std::array<char16_t, 256> toUnicode{};
  QHash<char16_t, char> fromUnicode;
};

int CodePageOfCharset(int charset) {
  switch (charset) {
    case 204:
      return 1251;
    case 238:
      return 1250;
    case 161:
      return 1253;
    case 162:
      return 1254;
    case 177:
      return 1255;
    case 178:
      return 1256;
    case 186:
      return 1257;
    case 163:
      return 1258;
    case 222:
      return 874;
    case 128:
      return 932;
    case 134:
      return 936;
    case 129:
      return 949;
    case 136:
      return 950;
    default:
      return 1252;
  }
}

LangCodec::LangCodec(int codePage) : codePage_(codePage) {
  if (IsDoubleByte(codePage)) return;
  tables_ = std::make_unique<Tables>();
  const QByteArray name = IconvName(codePage);
  for (int b = 0; b < 256; ++b) {
    const char byte = char(b);
    char16_t unit = char16_t(b);
    if (const auto utf16 = Convert("UTF-16LE", name, QByteArrayView(&byte, 1), false, {});
        utf16 && utf16->size() == 2) {
      unit = char16_t(quint8((*utf16)[0]) | (quint8((*utf16)[1]) << 8));
    }
    tables_->toUnicode[size_t(b)] = unit;
    if (!tables_->fromUnicode.contains(unit)) tables_->fromUnicode.insert(unit, byte);
  }
}

LangCodec::~LangCodec() = default;

const LangCodec& LangCodec::ForCodePage(int codePage) {
  static std::mutex mutex;
  static std::map<int, std::unique_ptr<LangCodec>> codecs;
  std::lock_guard lock(mutex);
  auto& codec = codecs[codePage];
  if (!codec) codec.reset(new LangCodec(codePage));
  return *codec;
}

const LangCodec& LangCodec::ForCharset(int charset) {
  return ForCodePage(CodePageOfCharset(charset));
}

QString LangCodec::Decode(QByteArrayView bytes) const {
  if (tables_) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
      dst[i] = QChar(tables_->toUnicode[quint8(bytes[i])]);
    return out;
  }
  const auto utf16 = Convert("UTF-16LE", IconvName(codePage_), bytes, true,
                             QByteArray::fromRawData("\xFD\xFF", 2));
  if (!utf16) return QString::fromLatin1(bytes.data(), bytes.size());
  return QString(reinterpret_cast<const QChar*>(utf16->constData()), utf16->size() / 2);
}

std::optional<QByteArray> LangCodec::Encode(QStringView text) const {
  if (tables_) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
      const auto it = tables_->fromUnicode.constFind(c.unicode());
      if (it != tables_->fromUnicode.constEnd()) {
        out += *it;
        continue;
      }
      // Pages with combining accents (Vietnamese) hold a precomposed letter as base + mark.
      const QString decomposed = QString(c).normalized(QString::NormalizationForm_D);
      if (decomposed.size() < 2) return std::nullopt;
      for (QChar part : decomposed) {
        const auto p = tables_->fromUnicode.constFind(part.unicode());
        if (p == tables_->fromUnicode.constEnd()) return std::nullopt;
        out += *p;
      }
    }
    return out;
  }
  return Convert(IconvName(codePage_), "UTF-8", text.toUtf8(), false, {});
}

}  // namespace localisation
