#include "core/ProfileFile.h"

#include "core/Error.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

namespace core {

namespace {

QString Fold(const QString& s) { return s.toCaseFolded(); }

QString Clean(QString s) {
  s.replace(u'\r', u' ');
  s.replace(u'\n', u' ');
  return s;
}

// A section or key name as the classic functions compare it.
QString Name(const QString& s) { return Clean(s).trimmed(); }

// A value as the classic functions return it: without the blanks at both ends and without one
// pair of matching quotes around it.
QString ReadForm(const QString& raw) {
  QString v = raw.trimmed();
  if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
    return v.mid(1, v.size() - 2);
  return v;
}

// memrchr is no standard function.
const void* LastOf(const char* d, qsizetype size, char c) {
  for (qsizetype i = size - 1; i >= 0; --i) {
    if (d[i] == c) return d + i;
  }
  return nullptr;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// End of the line that starts at or before `pos`, without its line end (a lone CR ends a
// line too).
qsizetype LineEnd(const char* d, qsizetype size, qsizetype pos) {
  while (pos < size && d[pos] != '\n' && d[pos] != '\r') ++pos;
  return pos;
}

// Start of the line after the one that ends at `lineEnd`: CR LF, LF or a lone CR.
qsizetype NextLine(const char* d, qsizetype size, qsizetype lineEnd) {
  if (lineEnd < size && d[lineEnd] == '\r') {
    ++lineEnd;
    if (lineEnd < size && d[lineEnd] == '\n') ++lineEnd;
  } else if (lineEnd < size && d[lineEnd] == '\n') {
    ++lineEnd;
  }
  return lineEnd;
}

}  // namespace

ProfileFile::ProfileFile(QString path, KeySplit split) : path_(std::move(path)), split_(split) {
  Load();
}

void ProfileFile::Load() {
  data_.clear();
  QFile file(path_);
  if (file.exists()) {
    if (!file.open(QIODevice::ReadOnly)) {
      throw Error(QCoreApplication::translate("ProfileFile", "Cannot read \"%1\": %2")
                      .arg(path_, file.errorString()));
    }
    // Read whole into memory, not mapped: another program rewriting the file in place must
    // not be able to pull the text away under a reader.
    data_ = file.readAll();
    if (file.error() != QFileDevice::NoError) {
      throw Error(QCoreApplication::translate("ProfileFile", "Cannot read \"%1\": %2")
                      .arg(path_, file.errorString()));
    }
    file.close();
  }
  sections_.clear();
  sectionIndex_.clear();
  newline_ = "\r\n";
  Parse();
}

void ProfileFile::ReloadIfCommitted() const {
  if (!committed_) return;
  auto* self = const_cast<ProfileFile*>(this);
  self->committed_ = false;
  self->Load();
}

void ProfileFile::Parse() {
  const char* d = data_.constData();
  const qsizetype size = data_.size();
  start_ = (size >= 3 && std::memcmp(d, "\xEF\xBB\xBF", 3) == 0) ? 3 : 0;
  // New lines take the line end the file already uses.
  for (qsizetype i = start_; i < size; ++i) {
    if (d[i] == '\n') {
      newline_ = "\n";
      break;
    }
    if (d[i] == '\r') {
      newline_ = (i + 1 < size && d[i + 1] == '\n') ? QByteArray("\r\n") : QByteArray("\r");
      break;
    }
  }
  // Only section headers matter when the file is opened: jump from "[" to "[" and look at
  // the keys of a section when it is asked for.
  Section* previous = nullptr;
  qsizetype pos = start_;
  while (pos < size) {
    const void* hit = std::memchr(d + pos, '[', size_t(size - pos));
    if (!hit) break;
    const qsizetype bracket = static_cast<const char*>(hit) - d;
    qsizetype lineStart = bracket;
    while (lineStart > start_ && IsBlank(d[lineStart - 1])) --lineStart;
    const qsizetype end = LineEnd(d, size, bracket);
    if (lineStart > start_ && d[lineStart - 1] != '\n' && d[lineStart - 1] != '\r') {
      pos = end;  // a "[" inside a line
      continue;
    }
    qsizetype close = end - 1;
    while (close > bracket && d[close] != ']') --close;
    if (close <= bracket) {
      pos = end;
      continue;
    }
    if (previous) previous->bodyEnd = lineStart;
    Section s;
    s.name = QString::fromUtf8(d + bracket + 1, close - bracket - 1).trimmed();
    s.bodyBegin = NextLine(d, size, end);
    s.bodyEnd = size;
    const QString key = Fold(s.name);
    // A repeated section is read as the system's functions read it: the first one wins.
    if (!sectionIndex_.contains(key))
      sectionIndex_.insert(key, qsizetype(sections_.size()));
    else
      s.indexed = true;  // never looked into
    sections_.push_back(std::move(s));
    previous = &sections_.back();
    pos = sections_.back().bodyBegin;
  }
}

void ProfileFile::IndexKeys(Section& section) const {
  if (section.indexed) return;
  section.indexed = true;
  section.insertAt = section.bodyBegin;
  const char* d = data_.constData();
  const qsizetype size = data_.size();
  for (qsizetype line = section.bodyBegin; line < section.bodyEnd;) {
    const qsizetype e = LineEnd(d, size, line);
    const qsizetype next = NextLine(d, size, e);
    qsizetype b = line;
    while (b < e && IsBlank(d[b])) ++b;
    const void* eq = nullptr;
    if (b < e && d[b] != ';') {
      eq = split_ == KeySplit::LastEquals ? LastOf(d + b, e - b, '=')
                                          : std::memchr(d + b, '=', size_t(e - b));
    }
    if (eq) {
      const qsizetype at = static_cast<const char*>(eq) - d;
      const QString name = QString::fromUtf8(d + b, at - b).trimmed();
      section.insertAt = next;
      const QString folded = Fold(name);
      if (!section.keyIndex.contains(folded)) {
        section.keyIndex.insert(folded, qsizetype(section.keys.size()));
        section.keys.push_back(
            Key{name, ReadForm(QString::fromUtf8(d + at + 1, e - at - 1)), {}, line, e, false});
      }
    }
    line = next;
  }
}

ProfileFile::Section* ProfileFile::FindSection(const QString& name) {
  ReloadIfCommitted();
  const auto it = sectionIndex_.constFind(Fold(Name(name)));
  if (it == sectionIndex_.constEnd()) return nullptr;
  Section& s = sections_[size_t(*it)];
  IndexKeys(s);
  return &s;
}

const ProfileFile::Section* ProfileFile::FindSection(const QString& name) const {
  return const_cast<ProfileFile*>(this)->FindSection(name);
}

QStringList ProfileFile::Sections() const {
  ReloadIfCommitted();
  QStringList names;
  names.reserve(sectionIndex_.size());
  for (qsizetype i = 0; i < qsizetype(sections_.size()); ++i) {
    const QString& name = sections_[size_t(i)].name;
    if (sectionIndex_.value(Fold(name), -1) == i) names.push_back(name);
  }
  return names;
}

bool ProfileFile::HasSection(const QString& section) const {
  ReloadIfCommitted();
  return sectionIndex_.contains(Fold(Name(section)));
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
  const auto it = s->keyIndex.constFind(Fold(Name(key)));
  if (it == s->keyIndex.constEnd()) return std::nullopt;
  return s->keys[size_t(*it)].value;
}

QString ProfileFile::ReadString(const QString& section, const QString& key,
                                const QString& fallback) const {
  return Value(section, key).value_or(fallback);
}

void ProfileFile::WriteString(const QString& sectionName, const QString& keyName,
                              const QString& valueText) {
  const QString section = Name(sectionName);
  const QString key = Name(keyName);
  const QString value = Clean(valueText);
  Section* s = FindSection(section);
  if (!s) {
    sectionIndex_.insert(Fold(section), qsizetype(sections_.size()));
    Section fresh;
    fresh.name = section;
    fresh.isNew = true;
    fresh.indexed = true;
    sections_.push_back(std::move(fresh));
    s = &sections_.back();
  }
  modified_ = true;
  const QString folded = Fold(key);
  const auto it = s->keyIndex.constFind(folded);
  if (it != s->keyIndex.constEnd()) {
    Key& k = s->keys[size_t(*it)];
    k.value = ReadForm(value);
    k.line = value;
    k.changed = true;
    return;
  }
  s->keyIndex.insert(folded, qsizetype(s->keys.size()));
  s->appended.push_back(qsizetype(s->keys.size()));
  s->keys.push_back(Key{key, ReadForm(value), value, -1, -1, true});
}

void ProfileFile::Render(const std::function<void(const char*, qsizetype)>& sink) const {
  // The changes, in file order: replaced key lines and runs of keys added to a section.
  struct Edit {
    qsizetype begin, end;  // bytes replaced (empty for an insertion)
    QByteArray text;
  };
  std::vector<Edit> edits;
  const char* d = data_.constData();
  auto line = [](const Key& k) { return (k.name + u'=' + k.line).toUtf8(); };
  for (const Section& s : sections_) {
    if (s.isNew) continue;
    for (const Key& k : s.keys) {
      if (k.changed && k.begin >= 0) edits.push_back({k.begin, k.end, line(k)});
    }
    if (s.appended.empty()) continue;
    QByteArray text;
    // The line before has no line end when it is the last of the file.
    if (s.insertAt > 0 && d[s.insertAt - 1] != '\n' && d[s.insertAt - 1] != '\r') text += newline_;
    for (qsizetype k : s.appended) text += line(s.keys[size_t(k)]) + newline_;
    edits.push_back({s.insertAt, s.insertAt, std::move(text)});
  }
  std::stable_sort(edits.begin(), edits.end(),
                   [](const Edit& a, const Edit& b) { return a.begin < b.begin; });
  qsizetype copied = 0;
  for (const Edit& e : edits) {
    sink(d + copied, e.begin - copied);
    sink(e.text.constData(), e.text.size());
    copied = e.end;
  }
  sink(d + copied, data_.size() - copied);
  bool endsWithLine = data_.isEmpty() || data_.endsWith('\n') || data_.endsWith('\r');
  if (!edits.empty() && edits.back().end == data_.size() && !edits.back().text.isEmpty())
    endsWithLine = edits.back().text.endsWith('\n') || edits.back().text.endsWith('\r');
  for (const Section& s : sections_) {
    if (!s.isNew) continue;
    QByteArray text;
    if (!endsWithLine) text += newline_;
    endsWithLine = true;
    text += '[' + s.name.toUtf8() + ']' + newline_;
    for (qsizetype k : s.appended) text += line(s.keys[size_t(k)]) + newline_;
    sink(text.constData(), text.size());
  }
}

void ProfileFile::Commit() {
  if (!modified_) return;
  QSaveFile file(path_);
  bool ok = file.open(QIODevice::WriteOnly);
  if (ok) {
    Render([&](const char* bytes, qsizetype size) {
      if (ok && size > 0) ok = file.write(bytes, size) == size;
    });
  }
  if (!ok || !file.commit()) {
    throw Error(QCoreApplication::translate("ProfileFile", "Cannot write \"%1\": %2")
                    .arg(QFileInfo(path_).absoluteFilePath(), file.errorString()));
  }
  // What is on disk now is the new text; it is read again only if this object is asked again.
  modified_ = false;
  committed_ = true;
}

}  // namespace core
