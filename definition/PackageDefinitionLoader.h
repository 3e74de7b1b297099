// The package loader's side of package definitions: obtaining the entries and
// interpreting them, reading each compound's constants from its fluid file.
#pragma once

#include <string>
#include <vector>

#include "definition/KeyValueReader.h"
#include "definition/PackageDefinition.h"

namespace tarnevo {

// The entries of a package's definition. With an empty `definitionText` the package
// file is read and its content kept in `definitionText`; otherwise the text is parsed.
// Messages: the missing-file text, or "Property package configuration error: " + the
// reader's message.
bool ReadPackageDefinitionEntries(const std::wstring& packageFile, std::string& definitionText,
                                  KeyValueReader& reader, std::wstring& message);

// Interprets the entries in order and stops at the first error, whose text is `message`.
// Compound strings are resolved against `refpropFolder`.
bool InterpretPackageDefinition(const std::vector<KeyValueEntry>& entries, const std::wstring& refpropFolder,
                                PackageDefinition& definition, std::wstring& message);

}  // namespace tarnevo
