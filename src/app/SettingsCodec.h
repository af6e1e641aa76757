#pragma once
#include <QString>

// The reversible encoding under which setting names and values stand in the settings store, so
// that neither is readable there as plain text. The output is made of the letters A to P only,
// which every store accepts as a key and as a value.

QString EncodeSetting(const QString &text);
// The text EncodeSetting was given; the empty text for the empty text and for anything that
// EncodeSetting cannot have produced.
QString DecodeSetting(const QString &encoded);
