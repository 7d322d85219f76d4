#pragma once

// Language files of every version, byte by byte as the format lays them out, for the tests and
// as fuzzing seeds. Written independently of the writer under test.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>
#include <vector>

namespace fixture {

struct Font {
  QByteArray name;
  quint16 size = 0;
  quint8 style = 0;
};

struct Prop {
  QByteArray form;
  QByteArray path;
  quint16 ident = 0;
};

struct Str {
  Str(quint16 ident_, std::optional<QByteArray> text_, quint8 flags_ = 0, quint16 font_ = 0)
      : ident(ident_), text(std::move(text_)), flags(flags_), font(font_) {}
  quint16 ident = 0;
  std::optional<QByteArray> text;  // none: no text stored (offset -1, or 0xFFFF in 2 bytes)
  quint8 flags = 0;
  quint16 font = 0;
  std::optional<qint32> rawOffset;  // overrides the offset written
};

struct Layout {
  QByteArray version = "3.10";
  quint8 fileFlags = 0;
  bool hasLocale = false;
  quint8 localePresentByte = 1;  // written when hasLocale and the version has the byte
  quint8 bidi = 0;
  quint8 charset = 0;
  std::vector<Font> fonts;
  std::vector<QByteArray> aux;
  std::vector<Prop> props;  // consecutive entries of one form make one form record
  std::vector<Str> strings;
  QByteArray currency = "EUR";  // locale block values that tests look at
  QByteArray shortDate = "dd/mm/yyyy";
  QByteArray january = "Januar";
  char dateSeparator = '.';
};

class Bytes {
 public:
  QByteArray data;
  void U8(quint8 v) { data.append(char(v)); }
  void U16(quint16 v) {
    U8(quint8(v & 0xFF));
    U8(quint8(v >> 8));
  }
  void I32(qint32 v) {
    for (int s = 0; s < 32; s += 8) U8(quint8((quint32(v) >> s) & 0xFF));
  }
  void S(const QByteArray& s) {
    U8(quint8(s.size()));
    data.append(s);
  }
};

inline void LocaleBlock(Bytes& b, const Layout& layout) {
  b.S(layout.currency);
  b.U8(3);
  b.U8(8);
  b.U8('.');
  b.U8(',');
  b.U8(2);
  b.U8(quint8(layout.dateSeparator));
  b.S(layout.shortDate);
  b.S("dddd, d. mmmm yyyy");
  b.U8(':');
  b.S("am");
  b.S("pm");
  b.S("hh:nn");
  b.S("hh:nn:ss");
  for (int i = 0; i < 12; ++i) b.S("M" + QByteArray::number(i + 1));
  for (int i = 0; i < 12; ++i) b.S(i == 0 ? layout.january : "Month" + QByteArray::number(i + 1));
  for (int i = 0; i < 7; ++i) b.S("D" + QByteArray::number(i));
  for (int i = 0; i < 7; ++i) b.S("Day" + QByteArray::number(i));
  for (int i = 0; i < 7; ++i) b.S(i == 0 ? QByteArray("AD") : QByteArray());
  for (int i = 0; i < 7; ++i) b.I32(i * 10);
  b.U16(30);
  b.U8(';');
}

inline QByteArray Make(const Layout& layout) {
  const double v = layout.version.toDouble();
  Bytes b;
  b.data = "LF" + layout.version;
  if (v > 3.0) b.U8(layout.fileFlags);
  if (v > 2.0) b.U8(layout.hasLocale ? layout.localePresentByte : 0);
  if (layout.hasLocale || v <= 2.0) LocaleBlock(b, layout);
  b.U8(layout.bidi);
  b.data.append(10, '\0');
  b.U8(layout.charset);
  b.I32(qint32(layout.fonts.size()));
  for (const Font& f : layout.fonts) {
    b.S(f.name);
    b.U16(f.size);
    b.U8(f.style);
  }
  b.data.append(20, '\0');
  b.U16(quint16(layout.aux.size()));
  for (const QByteArray& a : layout.aux) b.S(a);
  // forms
  std::vector<std::pair<QByteArray, std::vector<const Prop*>>> forms;
  for (const Prop& p : layout.props) {
    if (forms.empty() || forms.back().first != p.form) forms.push_back({p.form, {}});
    forms.back().second.push_back(&p);
  }
  b.U16(quint16(forms.size()));
  for (const auto& [name, entries] : forms) {
    b.S(name);
    b.U16(quint16(entries.size()));
    for (const Prop* p : entries) {
      b.S(p->path);
      b.U16(p->ident);
    }
  }
  QByteArray pool;
  b.U16(quint16(layout.strings.size()));
  for (const Str& s : layout.strings) {
    qint32 offset = -1;
    if (s.text) {
      offset = qint32(pool.size());
      pool += *s.text;
      pool += '\0';
    }
    if (s.rawOffset) offset = *s.rawOffset;
    if (v > 3.0) b.U8(s.flags);
    b.U16(s.ident);
    if (v > 1.5)
      b.I32(offset);
    else
      b.U16(offset == -1 ? 0xFFFF : quint16(offset));
    b.U16(s.font);
  }
  return b.data + pool;
}

inline bool Write(const QString& path, const QByteArray& data) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

// A file of each layout the reader knows, with texts, fonts, props and a locale block.
inline std::vector<std::pair<QString, QByteArray>> Seeds() {
  std::vector<std::pair<QString, QByteArray>> out;
  for (const char* version : {"3.10", "3.00", "2.90", "2.00", "1.51", "1.50"}) {
    Layout s;
    s.version = version;
    s.fileFlags = 1;
    s.hasLocale = true;
    s.bidi = 1;
    s.fonts = {{"Tahoma", 8, 1}, {"Arial", 10, 2}};
    s.aux = {"aux one", "aux two"};
    s.props = {{"TformMain", "Caption", 1},
               {"TformMain", "Memo1.Lines.Text", 2},
               {"TformOptions", "btOk.Caption", 3}};
    s.strings = {{1, "Main"}, {2, "line one\r\nline two"}, {3, "OK", 1, 1}, {4, std::nullopt}};
    out.emplace_back(QStringLiteral("v%1.lng").arg(QLatin1String(version)), Make(s));
  }
  return out;
}

}  // namespace fixture
