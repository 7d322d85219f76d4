#include "core/ProfileFile.h"

#include "core/Error.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>

namespace core {

namespace {

QString Fold(const QString& s) { return s.toCaseFolded(); }

QString Clean(QString s) {
  s.replace(u'\r', u' ');
  s.replace(u'\n', u' ');
  return s;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {
  QFile file(path_);
  if (file.exists()) {
    if (!file.open(QIODevice::ReadOnly)) {
      throw Error(QCoreApplication::translate("ProfileFile", "Cannot read \"%1\": %2")
                      .arg(path_, file.errorString()));
    }
    data_ = file.readAll();
  }
  Parse();
}

void ProfileFile::Parse() {
  const char* d = data_.constData();
  const qsizetype size = data_.size();
  qsizetype pos = 0;
  if (size >= 3 && std::memcmp(d, "\xEF\xBB\xBF", 3) == 0) pos = 3;
  bool newlineSeen = false;
  lines_.reserve(size / 24 + 1);
  Section* current = nullptr;
  while (pos < size) {
    const void* hit = std::memchr(d + pos, '\n', size_t(size - pos));
    const qsizetype lf = hit ? static_cast<const char*>(hit) - d : -1;
    // A lone CR also ends a line; look for one inside this stretch.
    const void* crHit = std::memchr(d + pos, '\r', size_t((lf < 0 ? size : lf) - pos));
    qsizetype length, full;
    if (crHit) {
      const qsizetype cr = static_cast<const char*>(crHit) - d;
      length = cr - pos;
      full = (cr + 1 < size && d[cr + 1] == '\n') ? length + 2 : length + 1;
      if (!newlineSeen) newline_ = full == length + 2 ? QByteArray("\r\n") : QByteArray("\r");
    } else if (lf >= 0) {
      length = lf - pos;
      full = length + 1;
      if (!newlineSeen) newline_ = "\n";
    } else {
      length = size - pos;
      full = length;
    }
    if (full > length) newlineSeen = true;
    lines_.push_back({pos, length, full});
    const qsizetype index = qsizetype(lines_.size()) - 1;

    qsizetype b = pos, e = pos + length;
    while (b < e && IsBlank(d[b])) ++b;
    if (b < e && d[b] == '[') {
      qsizetype close = e - 1;
      while (close > b && d[close] != ']') --close;
      if (close > b) {
        if (current) current->end = index;
        const QString name = QString::fromUtf8(d + b + 1, close - b - 1);
        const QString key = Fold(name);
        if (!sectionIndex_.contains(key)) {
          sectionIndex_.insert(key, qsizetype(sections_.size()));
          sections_.push_back(Section{name, index, index + 1, index + 1, false, {}, {}, -1, {}});
          current = &sections_.back();
        } else {
          // A repeated section is read as the private-profile functions do: the first wins.
          current = nullptr;
        }
      }
    }
    pos += full;
  }
  if (current) current->end = qsizetype(lines_.size());
}

void ProfileFile::IndexKeys(Section& section) const {
  if (section.indexed) return;
  section.indexed = true;
  section.lastKeyLine = section.header;
  const char* d = data_.constData();
  for (qsizetype i = section.begin; i < section.end; ++i) {
    const Line& line = lines_[size_t(i)];
    qsizetype b = line.begin, e = line.begin + line.length;
    while (b < e && IsBlank(d[b])) ++b;
    if (b == e || d[b] == ';') continue;
    const void* eq = std::memchr(d + b, '=', size_t(e - b));
    if (!eq) continue;
    const qsizetype at = static_cast<const char*>(eq) - d;
    const QString name = QString::fromUtf8(d + b, at - b).trimmed();
    section.lastKeyLine = i;
    const QString folded = Fold(name);
    if (section.keyIndex.contains(folded)) continue;
    section.keyIndex.insert(folded, qsizetype(section.keys.size()));
    section.keys.push_back(Key{name, QString::fromUtf8(d + at + 1, e - at - 1).trimmed(), i});
  }
}

ProfileFile::Section* ProfileFile::FindSection(const QString& name) {
  const auto it = sectionIndex_.constFind(Fold(name));
  if (it == sectionIndex_.constEnd()) return nullptr;
  Section& s = sections_[size_t(*it)];
  IndexKeys(s);
  return &s;
}

const ProfileFile::Section* ProfileFile::FindSection(const QString& name) const {
  return const_cast<ProfileFile*>(this)->FindSection(name);
}

QStringList ProfileFile::Sections() const {
  QStringList names;
  names.reserve(qsizetype(sections_.size()));
  for (const Section& s : sections_) names.push_back(s.name);
  return names;
}

bool ProfileFile::HasSection(const QString& section) const {
  return sectionIndex_.contains(Fold(section));
}

QStringList ProfileFile::Keys(const QString& section) const {
  QStringList names;
  if (const Section* s = FindSection(section)) {
    for (const Key& k : s->keys) names.push_back(k.name);
  }
  return names;
}

std::optional<QString> ProfileFile::Value(const QString& section, const QString& key) const {
  const Section* s = FindSection(section);
  if (!s) return std::nullopt;
  const auto it = s->keyIndex.constFind(Fold(key));
  if (it == s->keyIndex.constEnd()) return std::nullopt;
  return s->keys[size_t(*it)].value;
}

QString ProfileFile::ReadString(const QString& section, const QString& key,
                                const QString& fallback) const {
  return Value(section, key).value_or(fallback);
}

void ProfileFile::WriteString(const QString& sectionName, const QString& keyName,
                              const QString& valueText) {
  const QString section = Clean(sectionName);
  const QString key = Clean(keyName).trimmed();
  const QString value = Clean(valueText);
  Section* s = FindSection(section);
  if (!s) {
    sectionIndex_.insert(Fold(section), qsizetype(sections_.size()));
    sections_.push_back(Section{section, -1, 0, 0, true, {}, {}, -1, {}});
    s = &sections_.back();
  }
  modified_ = true;
  const QString folded = Fold(key);
  const auto it = s->keyIndex.constFind(folded);
  if (it != s->keyIndex.constEnd()) {
    Key& k = s->keys[size_t(*it)];
    k.value = value;
    if (k.line >= 0) replaced_.insert(k.line, k.name + u'=' + value);
    return;
  }
  s->keyIndex.insert(folded, qsizetype(s->keys.size()));
  s->appended.push_back(qsizetype(s->keys.size()));
  s->keys.push_back(Key{key, value, -1});
}

QByteArray ProfileFile::Render() const {
  // Keys added to existing sections go after the section's last key line.
  QHash<qsizetype, const Section*> insertAfter;
  for (const Section& s : sections_) {
    if (s.header >= 0 && !s.appended.empty()) insertAfter.insert(s.lastKeyLine, &s);
  }
  QByteArray out;
  out.reserve(data_.size() + 4096);
  const char* d = data_.constData();
  auto appendKeys = [&](const Section& s) {
    for (qsizetype k : s.appended) {
      const Key& key = s.keys[size_t(k)];
      out += (key.name + u'=' + key.value).toUtf8();
      out += newline_;
    }
  };
  qsizetype copyFrom = lines_.empty() ? data_.size() : lines_.front().begin;
  if (copyFrom > 0) out.append(d, copyFrom);  // byte-order mark
  qsizetype runStart = copyFrom;  // start of bytes still to copy verbatim
  for (qsizetype i = 0; i < qsizetype(lines_.size()); ++i) {
    const Line& line = lines_[size_t(i)];
    const auto rep = replaced_.constFind(i);
    const auto ins = insertAfter.constFind(i);
    if (rep == replaced_.constEnd() && ins == insertAfter.constEnd()) continue;
    if (rep != replaced_.constEnd()) {
      out.append(d + runStart, line.begin - runStart);
      out += rep->toUtf8();
      out += line.fullLength > line.length ? QByteArray(d + line.begin + line.length,
                                                        line.fullLength - line.length)
                                           : newline_;
    } else {
      out.append(d + runStart, line.begin + line.fullLength - runStart);
      if (line.fullLength == line.length) out += newline_;
    }
    runStart = line.begin + line.fullLength;
    if (ins != insertAfter.constEnd()) appendKeys(**ins);
  }
  out.append(d + runStart, data_.size() - runStart);
  for (const Section& s : sections_) {
    if (s.header >= 0) continue;
    if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r')) out += newline_;
    out += '[' + s.name.toUtf8() + ']' + newline_;
    appendKeys(s);
  }
  return out;
}

void ProfileFile::Commit() {
  if (!modified_) return;
  const QByteArray bytes = Render();
  QSaveFile file(path_);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    throw Error(QCoreApplication::translate("ProfileFile", "Cannot write \"%1\": %2")
                    .arg(QFileInfo(path_).absoluteFilePath(), file.errorString()));
  }
  // What is on disk now is the new text: start over from it.
  data_ = bytes;
  lines_.clear();
  sections_.clear();
  sectionIndex_.clear();
  replaced_.clear();
  modified_ = false;
  Parse();
}

}  // namespace core
