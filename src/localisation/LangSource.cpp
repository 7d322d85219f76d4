#include "localisation/LangSource.h"

#include "localisation/LangCodePage.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <optional>

namespace localisation {

namespace {

const QString kBlockOpen = QStringLiteral("<<<");
const QString kBlockClose = QStringLiteral(">>>");

// Walks the 22 regional settings in file order; the names are those of the JSON dump.
template <class Locale, class Visitor>
void VisitLocale(Locale& l, Visitor& v) {
  v.Str("currencyString", l.CurrencyString, TLxLocale::kCurrencyMax);
  v.Byte("currencyFormat", l.CurrencyFormat);
  v.Byte("negCurrFormat", l.NegCurrFormat);
  v.Char("thousandSeparator", l.ThousandSeparator);
  v.Char("decimalSeparator", l.DecimalSeparator);
  v.Byte("currencyDecimals", l.CurrencyDecimals);
  v.Char("dateSeparator", l.DateSeparator);
  v.Str("shortDateFormat", l.ShortDateFormat, TLxLocale::kShortDateMax);
  v.Str("longDateFormat", l.LongDateFormat, TLxLocale::kLongDateMax);
  v.Char("timeSeparator", l.TimeSeparator);
  v.Str("timeAMString", l.TimeAMString, TLxLocale::kDesignatorMax);
  v.Str("timePMString", l.TimePMString, TLxLocale::kDesignatorMax);
  v.Str("shortTimeFormat", l.ShortTimeFormat, TLxLocale::kTimeFormatMax);
  v.Str("longTimeFormat", l.LongTimeFormat, TLxLocale::kTimeFormatMax);
  v.List("shortMonthNames", l.ShortMonthNames, TLxLocale::kShortNameMax);
  v.List("longMonthNames", l.LongMonthNames, TLxLocale::kLongNameMax);
  v.List("shortDayNames", l.ShortDayNames, TLxLocale::kShortNameMax);
  v.List("longDayNames", l.LongDayNames, TLxLocale::kLongNameMax);
  v.List("eraNames", l.EraNames, TLxLocale::kEraMax);
  v.Ints("eraYearOffsets", l.EraYearOffsets);
  v.Word("twoDigitYearCenturyWindow", l.TwoDigitYearCenturyWindow);
  v.Char("listSeparator", l.ListSeparator);
}

// Controls, odd blanks (a no-break space looks like a blank) and invisible characters are
// written as \u escapes so that the source shows what the file holds.
bool NeedsEscape(QChar c) {
  return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0) || c.isSurrogate() ||
         (c.isSpace() && c != u' ') || c.category() == QChar::Other_Format || !c.isPrint();
}

QString Quote(const QString& text) {
  QString out = QStringLiteral("\"");
  for (QChar c : text) {
    switch (c.unicode()) {
      case u'"':
        out += QStringLiteral("\\\"");
        break;
      case u'\\':
        out += QStringLiteral("\\\\");
        break;
      case u'\r':
        out += QStringLiteral("\\r");
        break;
      case u'\n':
        out += QStringLiteral("\\n");
        break;
      case u'\t':
        out += QStringLiteral("\\t");
        break;
      default:
        if (NeedsEscape(c)) {
          out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        } else {
          out += c;
        }
    }
  }
  return out + u'"';
}

// A multi-line text is written as a block of lines when that gives it back exactly: lines
// broken by CR LF, none of them the block's end mark, nothing else that needs escaping.
bool FitsBlock(const QString& text) {
  if (!text.contains(QStringLiteral("\r\n"))) return false;
  const QStringList lines = text.split(QStringLiteral("\r\n"));
  for (const QString& line : lines) {
    if (line == kBlockClose) return false;
    for (QChar c : line) {
      if (c != u'\t' && NeedsEscape(c)) return false;
    }
  }
  return true;
}

struct SourceWriter {
  const LangCodec& codec;
  QString out;
  void Line(const QString& key, const QString& value) {
    out += QStringLiteral("  ") + key + u' ' + value + u'\n';
  }
  QString S(const QByteArray& b) const { return Quote(codec.Decode(b)); }
  void Str(const char* key, const QByteArray& v, int) { Line(QLatin1String(key), S(v)); }
  void Byte(const char* key, quint8 v) { Line(QLatin1String(key), QString::number(v)); }
  void Word(const char* key, quint16 v) { Line(QLatin1String(key), QString::number(v)); }
  void Char(const char* key, char v) { Line(QLatin1String(key), S(QByteArray(1, v))); }
  template <size_t N>
  void List(const char* key, const std::array<QByteArray, N>& v, int) {
    QStringList parts;
    for (const auto& s : v) parts << S(s);
    Line(QLatin1String(key), parts.join(u' '));
  }
  void Ints(const char* key, const std::array<qint32, 7>& v) {
    QStringList parts;
    for (qint32 i : v) parts << QString::number(i);
    Line(QLatin1String(key), parts.join(u' '));
  }
};

struct JsonWriter {
  const LangCodec& codec;
  QJsonObject out;
  QString S(const QByteArray& b) const { return codec.Decode(b); }
  void Str(const char* key, const QByteArray& v, int) { out[QLatin1String(key)] = S(v); }
  void Byte(const char* key, quint8 v) { out[QLatin1String(key)] = int(v); }
  void Word(const char* key, quint16 v) { out[QLatin1String(key)] = int(v); }
  void Char(const char* key, char v) { out[QLatin1String(key)] = S(QByteArray(1, v)); }
  template <size_t N>
  void List(const char* key, const std::array<QByteArray, N>& v, int) {
    QJsonArray a;
    for (const auto& s : v) a.append(S(s));
    out[QLatin1String(key)] = a;
  }
  void Ints(const char* key, const std::array<qint32, 7>& v) {
    QJsonArray a;
    for (qint32 i : v) a.append(i);
    out[QLatin1String(key)] = a;
  }
};

// ---------------------------------------------------------------------------------------------
// Reading a source

[[noreturn]] void Fail(int line, const QString& message) {
  throw ELangFileError(QStringLiteral("line %1: %2").arg(line).arg(message));
}

struct Token {
  QString text;
  bool quoted = false;
};

std::vector<Token> Tokenise(const QString& line, int lineNo) {
  std::vector<Token> tokens;
  qsizetype i = 0;
  while (i < line.size()) {
    const QChar c = line[i];
    if (c.isSpace()) {
      ++i;
      continue;
    }
    if (c == u'#') break;
    Token t;
    if (c == u'"') {
      t.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        const QChar d = line[i++];
        if (d == u'"') {
          closed = true;
          break;
        }
        if (d != u'\\') {
          t.text += d;
          continue;
        }
        if (i >= line.size()) Fail(lineNo, QStringLiteral("a \\ ends the line"));
        const QChar e = line[i++];
        switch (e.unicode()) {
          case u'"':
            t.text += u'"';
            break;
          case u'\\':
            t.text += u'\\';
            break;
          case u'r':
            t.text += u'\r';
            break;
          case u'n':
            t.text += u'\n';
            break;
          case u't':
            t.text += u'\t';
            break;
          case u'u': {
            bool ok = false;
            const uint code = line.mid(i, 4).toUInt(&ok, 16);
            if (!ok || line.mid(i, 4).size() != 4)
              Fail(lineNo, QStringLiteral("\\u needs four hexadecimal digits"));
            t.text += QChar(char16_t(code));
            i += 4;
            break;
          }
          default:
            Fail(lineNo, QStringLiteral("unknown escape \\%1").arg(e));
        }
      }
      if (!closed) Fail(lineNo, QStringLiteral("a quoted text is not closed"));
    } else {
      while (i < line.size() && !line[i].isSpace() && line[i] != u'"') t.text += line[i++];
    }
    tokens.push_back(std::move(t));
  }
  return tokens;
}

long long Number(const Token& t, long long min, long long max, int lineNo, const QString& what) {
  bool ok = false;
  const long long v = t.quoted ? 0 : t.text.toLongLong(&ok);
  if (!ok || v < min || v > max)
    Fail(lineNo, QStringLiteral("%1 must be a number from %2 to %3").arg(what).arg(min).arg(max));
  return v;
}

struct SourceString {
  int line = 0;
  quint16 ident = 0;
  quint8 flags = 0;
  quint16 font = 0;
  std::optional<QString> text;
};

struct LocaleLine {
  int line = 0;
  std::vector<Token> values;
};

// Fills the locale from the collected lines; a setting left out keeps its default.
struct LocaleReader {
  const LangCodec& codec;
  QHash<QString, LocaleLine>& lines;
  std::vector<Token> Take(const char* key, size_t count, bool quoted) {
    const auto it = lines.find(QLatin1String(key));
    if (it == lines.end()) return {};
    LocaleLine l = it.value();
    lines.erase(it);
    if (l.values.size() != count)
      Fail(l.line, QStringLiteral("%1 takes %2 value(s)").arg(QLatin1String(key)).arg(count));
    for (const Token& t : l.values) {
      if (t.quoted != quoted)
        Fail(l.line, QStringLiteral("%1 takes %2")
                         .arg(QLatin1String(key),
                              quoted ? QStringLiteral("quoted texts") : QStringLiteral("numbers")));
      if (quoted) {
        if (!codec.Encode(t.text))
          Fail(l.line, QStringLiteral("%1: a character has no place in code page %2")
                           .arg(QLatin1String(key))
                           .arg(codec.codePage()));
      }
    }
    lastLine = l.line;
    return l.values;
  }
  int lastLine = 0;
  QByteArray Enc(const Token& t) { return *codec.Encode(t.text); }
  void Str(const char* key, QByteArray& v, int max) {
    const auto t = Take(key, 1, true);
    if (t.empty()) return;
    v = Enc(t[0]);
    if (v.size() > max)
      Fail(lastLine, QStringLiteral("%1 is longer than %2 bytes").arg(QLatin1String(key)).arg(max));
  }
  void Byte(const char* key, quint8& v) {
    const auto t = Take(key, 1, false);
    if (!t.empty()) v = quint8(Number(t[0], 0, 255, lastLine, QLatin1String(key)));
  }
  void Word(const char* key, quint16& v) {
    const auto t = Take(key, 1, false);
    if (!t.empty()) v = quint16(Number(t[0], 0, 65535, lastLine, QLatin1String(key)));
  }
  void Char(const char* key, char& v) {
    const auto t = Take(key, 1, true);
    if (t.empty()) return;
    const QByteArray b = Enc(t[0]);
    if (b.size() != 1)
      Fail(lastLine, QStringLiteral("%1 is one character").arg(QLatin1String(key)));
    v = b[0];
  }
  template <size_t N>
  void List(const char* key, std::array<QByteArray, N>& v, int max) {
    const auto t = Take(key, N, true);
    for (size_t i = 0; i < t.size(); ++i) {
      v[i] = Enc(t[i]);
      if (v[i].size() > max)
        Fail(lastLine, QStringLiteral("%1 %2 is longer than %3 bytes")
                           .arg(QLatin1String(key))
                           .arg(i + 1)
                           .arg(max));
    }
  }
  void Ints(const char* key, std::array<qint32, 7>& v) {
    const auto t = Take(key, 7, false);
    for (size_t i = 0; i < t.size(); ++i)
      v[i] = qint32(Number(t[i], INT32_MIN, INT32_MAX, lastLine, QLatin1String(key)));
  }
};

}  // namespace

QString DumpSource(const TLxLangFile& file) {
  const LangCodec& codec = LangCodec::ForCharset(file.Charset());
  QString out;
  out += QStringLiteral(
      "# Horalog language source: lngtool build turns it into a .lng file, lngtool dump back.\n");
  out += QStringLiteral("version %1\n").arg(file.Version(), 0, 'f', 2);
  out += QStringLiteral("flags %1\n").arg(file.FileFlags());
  out += QStringLiteral("charset %1\n").arg(file.Charset());
  out += QStringLiteral("bidimode %1\n").arg(file.BiDiMode());
  if (file.HasLocale()) {
    SourceWriter w{codec, {}};
    VisitLocale(file.Locale(), w);
    out += QStringLiteral("\nlocale\n") + w.out + QStringLiteral("end\n");
  }
  if (file.FontCount() > 0) out += u'\n';
  for (qsizetype i = 0; i < file.FontCount(); ++i) {
    const TLxFontItem& f = file.Fonts(i);
    out += QStringLiteral("font %1 %2 %3  # %4\n")
               .arg(Quote(codec.Decode(f.Name)))
               .arg(f.Size)
               .arg(f.Style)
               .arg(i + 1);
  }
  if (!file.AuxList().isEmpty()) out += u'\n';
  for (const QByteArray& aux : file.AuxList())
    out += QStringLiteral("aux ") + Quote(codec.Decode(aux)) + u'\n';
  const TLxLangProps& props = file.Props();
  for (qsizetype f = 0; f < props.FormCount(); ++f) {
    out += QStringLiteral("\nform ") + Quote(props.FormAt(f).Name) + u'\n';
    for (const auto& e : props.FormProps(f))
      out += QStringLiteral("  ") + Quote(e.Path) + u' ' + QString::number(e.Ident) + u'\n';
    out += QStringLiteral("end\n");
  }
  if (file.Count() > 0) out += u'\n';
  for (qsizetype i = 0; i < file.Count(); ++i) {
    const TLxIdentRec& rec = file.Record(i);
    out += QStringLiteral("string %1").arg(rec.Ident);
    if (rec.Flags) out += QStringLiteral(" flags %1").arg(rec.Flags);
    if (rec.FontIndex) out += QStringLiteral(" font %1").arg(rec.FontIndex);
    if (rec.Offset == -1) {
      out += QStringLiteral(" none\n");
      continue;
    }
    const QString text = codec.Decode(rec.Text);
    if (FitsBlock(text)) {
      out += u' ' + kBlockOpen + u'\n' +
             QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + u'\n' +
             kBlockClose + u'\n';
    } else {
      out += u' ' + Quote(text) + u'\n';
    }
  }
  return out;
}

void BuildFromSource(const QString& source, TLxLangFileEdit& file) {
  QStringList lines = source.split(u'\n');
  for (QString& l : lines) {
    if (l.endsWith(u'\r')) l.chop(1);
  }
  quint8 flags = 0, charset = 0, bidi = 0;
  bool hasLocale = false;
  QHash<QString, LocaleLine> localeLines;
  struct Font {
    int line;
    QString name;
    quint16 size;
    quint8 style;
  };
  std::vector<Font> fonts;
  std::vector<std::pair<int, QString>> aux;
  TLxLangProps& props = file.Props();
  props.Clear();
  std::vector<SourceString> strings;

  enum class Block { None, Locale, Form } block = Block::None;
  QString form;
  for (qsizetype n = 0; n < lines.size(); ++n) {
    const int lineNo = int(n + 1);
    const std::vector<Token> t = Tokenise(lines[n], lineNo);
    if (t.empty()) continue;
    const auto word = [&](const QString& w) { return !t[0].quoted && t[0].text == w; };
    if (block != Block::None && word(QStringLiteral("end"))) {
      if (t.size() != 1) Fail(lineNo, QStringLiteral("\"end\" stands alone"));
      block = Block::None;
      continue;
    }
    if (block == Block::Locale) {
      if (t[0].quoted) Fail(lineNo, QStringLiteral("a locale setting's name is expected"));
      if (localeLines.contains(t[0].text))
        Fail(lineNo, QStringLiteral("%1 is given twice").arg(t[0].text));
      localeLines.insert(t[0].text, LocaleLine{lineNo, std::vector<Token>(t.begin() + 1, t.end())});
      continue;
    }
    if (block == Block::Form) {
      if (t.size() != 2 || !t[0].quoted)
        Fail(lineNo, QStringLiteral("a quoted property path and an ident are expected"));
      props.Add(form, t[0].text,
                quint16(Number(t[1], 0, 65535, lineNo, QStringLiteral("an ident"))));
      continue;
    }
    const auto single = [&](const QString& what, long long max) {
      if (t.size() != 2) Fail(lineNo, QStringLiteral("%1 takes one number").arg(what));
      return Number(t[1], 0, max, lineNo, what);
    };
    if (word(QStringLiteral("version"))) {
      // Files are always written as 3.10; the line only tells what a dump read.
      continue;
    } else if (word(QStringLiteral("flags"))) {
      flags = quint8(single(QStringLiteral("flags"), 255));
    } else if (word(QStringLiteral("charset"))) {
      charset = quint8(single(QStringLiteral("charset"), 255));
    } else if (word(QStringLiteral("bidimode"))) {
      bidi = quint8(single(QStringLiteral("bidimode"), 255));
    } else if (word(QStringLiteral("locale"))) {
      if (hasLocale) Fail(lineNo, QStringLiteral("a second locale block"));
      hasLocale = true;
      block = Block::Locale;
    } else if (word(QStringLiteral("font"))) {
      if (t.size() != 4 || !t[1].quoted)
        Fail(lineNo, QStringLiteral("font takes a quoted name, a size and a style"));
      fonts.push_back(Font{lineNo, t[1].text,
                           quint16(Number(t[2], 0, 65535, lineNo, QStringLiteral("a font size"))),
                           quint8(Number(t[3], 0, 255, lineNo, QStringLiteral("a font style")))});
    } else if (word(QStringLiteral("aux"))) {
      if (t.size() != 2 || !t[1].quoted) Fail(lineNo, QStringLiteral("aux takes one quoted text"));
      aux.emplace_back(lineNo, t[1].text);
    } else if (word(QStringLiteral("form"))) {
      if (t.size() != 2 || !t[1].quoted || t[1].text.isEmpty())
        Fail(lineNo, QStringLiteral("form takes one quoted name"));
      form = t[1].text;
      block = Block::Form;
    } else if (word(QStringLiteral("string"))) {
      if (t.size() < 3) Fail(lineNo, QStringLiteral("string takes an ident and a text"));
      SourceString s;
      s.line = lineNo;
      s.ident = quint16(Number(t[1], 0, 65535, lineNo, QStringLiteral("an ident")));
      size_t i = 2;
      while (i + 1 < t.size() && !t[i].quoted &&
             (t[i].text == QStringLiteral("flags") || t[i].text == QStringLiteral("font"))) {
        if (t[i].text == QStringLiteral("flags"))
          s.flags = quint8(Number(t[i + 1], 0, 255, lineNo, QStringLiteral("flags")));
        else
          s.font = quint16(Number(t[i + 1], 0, 65535, lineNo, QStringLiteral("a font index")));
        i += 2;
      }
      if (i + 1 != t.size()) Fail(lineNo, QStringLiteral("string ends with its text"));
      if (t[i].quoted) {
        s.text = t[i].text;
      } else if (t[i].text == QStringLiteral("none")) {
        s.text.reset();
      } else if (t[i].text == kBlockOpen) {
        QStringList body;
        for (;;) {
          if (++n >= lines.size()) Fail(lineNo, QStringLiteral("the text has no closing >>>"));
          if (lines[n] == kBlockClose) break;
          body << lines[n];
        }
        s.text = body.join(QStringLiteral("\r\n"));
      } else {
        Fail(lineNo, QStringLiteral("a quoted text, <<< or none is expected"));
      }
      strings.push_back(std::move(s));
    } else {
      Fail(lineNo, QStringLiteral("unknown keyword %1").arg(t[0].text));
    }
  }
  if (block != Block::None) Fail(int(lines.size()), QStringLiteral("a block has no \"end\""));

  const LangCodec& codec = LangCodec::ForCharset(charset);
  file.SetCharset(charset);
  file.SetFileFlags(0xFF, false);
  file.SetFileFlags(flags, true);
  file.SetBiDiMode(bidi);
  file.SetHasLocale(hasLocale);
  file.Locale() = TLxLocale();
  if (hasLocale) {
    LocaleReader r{codec, localeLines};
    VisitLocale(file.Locale(), r);
    if (!localeLines.isEmpty()) {
      const LocaleLine& l = localeLines.begin().value();
      Fail(l.line, QStringLiteral("unknown locale setting %1").arg(localeLines.begin().key()));
    }
  }
  const auto encode = [&](int line, const QString& text, const QString& what) {
    const auto bytes = codec.Encode(text);
    if (!bytes)
      Fail(line, QStringLiteral("%1 has a character that code page %2 cannot hold")
                     .arg(what)
                     .arg(codec.codePage()));
    if (bytes->contains('\0')) Fail(line, QStringLiteral("%1 contains a zero character").arg(what));
    return *bytes;
  };
  file.ClearFonts();
  for (const Font& f : fonts)
    file.AddFont(
        TLxFontItem{encode(f.line, f.name, QStringLiteral("the font name")), f.size, f.style});
  file.AuxList().clear();
  for (const auto& [line, text] : aux)
    file.AuxList().append(encode(line, text, QStringLiteral("the aux text")));
  file.ClearStrings();
  for (const SourceString& s : strings) {
    TLxIdentRec rec;
    rec.Ident = s.ident;
    rec.Flags = s.flags;
    rec.FontIndex = s.font;
    if (s.text) {
      rec.Text = encode(s.line, *s.text, QStringLiteral("the text of ident %1").arg(s.ident));
      rec.Offset = 0;
    }
    if (!file.AddString(rec)) Fail(s.line, QStringLiteral("ident %1 is given twice").arg(s.ident));
  }
}

QByteArray DumpJson(const TLxLangFile& file) {
  const LangCodec& codec = LangCodec::ForCharset(file.Charset());
  QJsonObject o;
  o[QStringLiteral("version")] = file.Version();
  o[QStringLiteral("isNew")] = file.IsNew();
  o[QStringLiteral("fileFlags")] = int(file.FileFlags());
  o[QStringLiteral("native")] = file.HasFileFlags(TLxLangFile::kNativeFlag);
  o[QStringLiteral("hasLocale")] = file.HasLocale();
  if (file.HasLocale()) {
    JsonWriter w{codec, {}};
    VisitLocale(file.Locale(), w);
    o[QStringLiteral("locale")] = w.out;
  } else {
    o[QStringLiteral("locale")] = QJsonValue::Null;
  }
  o[QStringLiteral("bidiMode")] = int(file.BiDiMode());
  o[QStringLiteral("charset")] = int(file.Charset());
  QJsonArray fonts;
  for (qsizetype i = 0; i < file.FontCount(); ++i) {
    const TLxFontItem& f = file.Fonts(i);
    fonts.append(QJsonObject{{QStringLiteral("name"), codec.Decode(f.Name)},
                             {QStringLiteral("size"), int(f.Size)},
                             {QStringLiteral("style"), int(f.Style)}});
  }
  o[QStringLiteral("fonts")] = fonts;
  QJsonArray aux;
  for (const QByteArray& a : file.AuxList()) aux.append(codec.Decode(a));
  o[QStringLiteral("aux")] = aux;
  QJsonArray props;
  for (qsizetype f = 0; f < file.Props().FormCount(); ++f) {
    QJsonArray entries;
    for (const auto& e : file.Props().FormProps(f))
      entries.append(
          QJsonObject{{QStringLiteral("path"), e.Path}, {QStringLiteral("ident"), int(e.Ident)}});
    props.append(QJsonObject{{QStringLiteral("form"), file.Props().FormAt(f).Name},
                             {QStringLiteral("entries"), entries}});
  }
  o[QStringLiteral("props")] = props;
  QJsonArray strings;
  for (qsizetype i = 0; i < file.Count(); ++i) {
    const TLxIdentRec& r = file.Record(i);
    strings.append(QJsonObject{{QStringLiteral("ident"), int(r.Ident)},
                               {QStringLiteral("flags"), int(r.Flags)},
                               {QStringLiteral("offset"), r.Offset},
                               {QStringLiteral("fontIndex"), int(r.FontIndex)},
                               {QStringLiteral("text"), codec.Decode(r.Text)}});
  }
  o[QStringLiteral("strings")] = strings;
  return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

}  // namespace localisation
