#pragma once
/// Numbers in exported text files. The output must read the same whatever
/// locale the program runs in (a desktop toolkit may switch the C library to
/// the user's locale, where printf would write decimal commas), so values are
/// formatted with the locale-free std::to_chars in printf's "%g" form.

#include <string>

namespace kv::exp {

/// Appends `value` exactly as printf("%g") writes it in the C locale.
void appendG(std::string& out, double value);

/// `value` as printf("%g") writes it in the C locale.
std::string formatG(double value);

} // namespace kv::exp
