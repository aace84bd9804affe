#pragma once

#include "json/JsonValue.h"

#include <QString>

// A compact one-line rendering of a value tree, so expectations read like the JSON they came from:
// {"k":[1,true,null,"텍스트"]}. The empty value is written ~; control characters, quotes and
// backslashes inside texts and keys are escaped, everything else stays as it is.
QString treeText(const JsonValue& value);
// A text in that form: in double quotes, with those characters escaped.
QString quotedText(const QString& text);
