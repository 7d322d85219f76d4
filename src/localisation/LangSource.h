#pragma once

#include "localisation/LxLangEd.h"

#include <QByteArray>
#include <QString>

namespace localisation {

// The editable text form of a language file that translators work with (lang/README.md
// describes it). Texts are Unicode there and the code page of the file's character set in the
// file.
QString DumpSource(const TLxLangFile& file);

// Fills a blank file from a source. Throws ELangFileError naming the line, or the ident whose
// text the code page cannot hold.
void BuildFromSource(const QString& source, TLxLangFileEdit& file);

// Everything the file holds as one JSON object, texts decoded from the code page.
QByteArray DumpJson(const TLxLangFile& file);

}  // namespace localisation
