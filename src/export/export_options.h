#pragma once
/// The working-unit preferences an export depends on. The exporters sit below
/// the application layer, so the caller hands over the unit factor and its
/// name rather than the preference record.

#include <string>

namespace kv::exp {

struct ExportOptions {
    /// Feet per working length unit (u); exported lengths are divided by it.
    float feetPerUnit = 1.0f;
    /// True for the right-hand coordinate preference, false for left-hand.
    bool rightHanded = true;
    /// Long name of the working length unit ("meters", "feet", ...), written
    /// in the ASF and AMC headers.
    std::string lengthUnitName = "feet";
};

} // namespace kv::exp
