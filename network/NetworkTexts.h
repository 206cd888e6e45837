#pragma once

#include <string_view>

namespace tarnwick {

// Shown in place of a value the user may not see: hidden operator parameters and the fixed
// SMTP rows' password. The commit recognises it in the SMTP Password box, code unit for code
// unit, and stores the preset's password instead.
inline constexpr std::u16string_view parameterMask = u"*****";

// The code that reveals the hidden operator parameters (compared after trimming white space).
inline constexpr std::u16string_view parameterAccessCode = u"vintosk[4082736]";

}  // namespace tarnwick
