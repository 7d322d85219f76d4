#pragma once

#include <QString>
#include <functional>

namespace localisation {

// The numbered texts that code asks for by ident. Until a language is loaded each ident gives
// its English default.
QString LangString(int ident);

// The language manager installs its lookup here; an empty result falls back to the default.
void SetLangStringSource(std::function<QString(int)> source);

// The built-in English text of an ident, empty when there is none.
QString DefaultLangString(int ident);

}  // namespace localisation
