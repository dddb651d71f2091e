#include "ui/forms/StartOptions.h"

#include <algorithm>
#include <string_view>

namespace halvane::ui
{
namespace
{

// `arg` is `name` after "/" or "--", in any letter case.
bool isSwitch(std::string_view arg, std::string_view name)
{
    if (arg.starts_with("--"))
        arg.remove_prefix(2);
    else if (arg.starts_with("/"))
        arg.remove_prefix(1);
    else
        return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::ranges::equal(arg, name, {}, lower);
}

} // namespace

StartOptions StartOptions::parse(const std::vector<std::string>& args)
{
    StartOptions options;
    for (const std::string& arg : args) {
        if (isSwitch(arg, "exact"))
            options.exact = true;
        else if (isSwitch(arg, "four-digit-year"))
            options.fourDigitYear = true;
    }
    if (!options.exact)
        options.fourDigitYear = false;
    return options;
}

} // namespace halvane::ui
