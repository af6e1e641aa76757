#pragma once

// The password every dictionary and update file is keyed with.
inline constexpr char DictionaryPassword[] = "Hq4Lz8Wn2Xc6Vb9Tj1";
