#pragma once
/// The single message box's text rule: a message of up to 1024 characters is
/// broken into at most four lines of at most 43 characters, each break at the
/// last space at or before the limit.

#include <string>
#include <string_view>
#include <vector>

namespace kv {

inline constexpr std::size_t kMessageMaxChars = 1024;
inline constexpr std::size_t kMessageLineChars = 43;
inline constexpr std::size_t kMessageMaxLines = 4;

/// Lines of the message as the message box shows them.
std::vector<std::string> wrapMessage(std::string_view text);

/// The wrapped lines joined with '\n'.
std::string wrapMessageText(std::string_view text);

class MessagePort;
/// Shows `text` through `messages` as the message box would lay it out.
void showWrappedMessage(MessagePort& messages, std::string_view text);

} // namespace kv
