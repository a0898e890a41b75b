#pragma once

// Rules the program derives from the switch's model name.

#include <QString>

// A PoE model holds "P" or "p" in its name anywhere but in the leading
// family prefix "PQS": "PQS-4400-52P" is one, "PQS-4400-52" is not.
bool IsPoeModel(const QString& model);
