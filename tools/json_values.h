// The JSON of a composite's fields: each entry with its label and its value by shape, nested
// composites as objects of their own, unlabelled lines as their text. Doubles keep every bit:
// finite ones as JSON numbers that read back exactly, the others as the archive's own text
// ("inf", "-inf", "nan").
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include <labarc/document/field.h>

namespace labarc::tool {

using Json = nlohmann::ordered_json;

Json ToJson(const FieldValue& value);
Json ToJson(double value);
Json FieldsJson(const std::vector<Field>& fields);

// A double as JSON text: the shortest text that reads back to the same value, or the archive's
// text in quotes for the values JSON lacks.
void AppendJsonNumber(double value, std::string& out);

// JSON text of a value; bytes that are not UTF-8 become U+FFFD.
std::string JsonText(const Json& value);

}  // namespace labarc::tool
