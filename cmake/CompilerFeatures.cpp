// What the sources take from the compiler and its library; the
// configuration compiles this first, so that a compiler that lacks any of
// it stops there rather than in the middle of the build.
#include <charconv>
#include <compare>
#include <map>
#include <numbers>
#include <string_view>
#include <system_error>

namespace {

struct TPair {
    int a = 0;
    int b = 0;
    bool operator==(const TPair &) const = default;
    auto operator<=>(const TPair &) const = default;
};

template <typename T>
concept Number = requires(T t) { t + t; };

template <Number T>
constexpr T Twice(T t) { return t + t; }

} // namespace

int main()
{
    double value = 0;
    const std::string_view text("1.5e0");
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    std::map<int, int> map;
    const TPair pair{.a = 1, .b = 2};
    const bool ok = ec == std::errc() && end == text.data() + text.size() && value == 1.5 && text.starts_with("1.")
                    && !map.contains(1) && pair == TPair{1, 2} && (pair <=> TPair{1, 3}) < 0
                    && Twice(std::numbers::pi) > 6.28;
    return ok ? 0 : 1;
}
