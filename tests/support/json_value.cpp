#include "support/json_value.h"

#include <cctype>
#include <cstdlib>

namespace kv::jsontest {
namespace {

const JsonValue& nullValue() {
    static const JsonValue value;
    return value;
}

class Parser {
  public:
    explicit Parser(std::string_view text) : s_(text) {}

    bool document(JsonValue& out) {
        if (!value(out))
            return false;
        space();
        return pos_ == s_.size();
    }

  private:
    void space() {
        while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_])))
            ++pos_;
    }
    bool literal(std::string_view word) {
        if (s_.substr(pos_, word.size()) != word)
            return false;
        pos_ += word.size();
        return true;
    }
    bool string(std::string& out) {
        if (pos_ >= s_.size() || s_[pos_] != '"')
            return false;
        ++pos_;
        while (pos_ < s_.size() && s_[pos_] != '"') {
            char c = s_[pos_++];
            if (c == '\\') {
                if (pos_ >= s_.size())
                    return false;
                const char e = s_[pos_++];
                switch (e) {
                case 'n':
                    c = '\n';
                    break;
                case 't':
                    c = '\t';
                    break;
                case 'r':
                    c = '\r';
                    break;
                case 'u':
                    if (pos_ + 4 > s_.size())
                        return false;
                    pos_ += 4;
                    c = '?';
                    break;
                default:
                    c = e;
                    break;
                }
            }
            out += c;
        }
        if (pos_ >= s_.size())
            return false;
        ++pos_;
        return true;
    }
    bool value(JsonValue& out) {
        space();
        if (pos_ >= s_.size())
            return false;
        const char c = s_[pos_];
        if (c == '{') {
            out.kind = JsonValue::Kind::Object;
            ++pos_;
            space();
            if (pos_ < s_.size() && s_[pos_] == '}')
                return ++pos_, true;
            while (true) {
                space();
                std::string key;
                if (!string(key))
                    return false;
                space();
                if (pos_ >= s_.size() || s_[pos_] != ':')
                    return false;
                ++pos_;
                JsonValue member;
                if (!value(member))
                    return false;
                out.members[key] = std::move(member);
                space();
                if (pos_ < s_.size() && s_[pos_] == ',') {
                    ++pos_;
                    continue;
                }
                if (pos_ < s_.size() && s_[pos_] == '}')
                    return ++pos_, true;
                return false;
            }
        }
        if (c == '[') {
            out.kind = JsonValue::Kind::Array;
            ++pos_;
            space();
            if (pos_ < s_.size() && s_[pos_] == ']')
                return ++pos_, true;
            while (true) {
                JsonValue item;
                if (!value(item))
                    return false;
                out.items.push_back(std::move(item));
                space();
                if (pos_ < s_.size() && s_[pos_] == ',') {
                    ++pos_;
                    continue;
                }
                if (pos_ < s_.size() && s_[pos_] == ']')
                    return ++pos_, true;
                return false;
            }
        }
        if (c == '"') {
            out.kind = JsonValue::Kind::String;
            return string(out.text);
        }
        if (literal("true")) {
            out.kind = JsonValue::Kind::Bool;
            out.boolean = true;
            return true;
        }
        if (literal("false")) {
            out.kind = JsonValue::Kind::Bool;
            return true;
        }
        if (literal("null")) {
            out.kind = JsonValue::Kind::Null;
            return true;
        }
        const std::string rest(s_.substr(pos_, 64));
        char* end = nullptr;
        out.number = std::strtod(rest.c_str(), &end);
        if (end == rest.c_str())
            return false;
        out.kind = JsonValue::Kind::Number;
        pos_ += static_cast<std::size_t>(end - rest.c_str());
        return true;
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

} // namespace

const JsonValue& JsonValue::operator[](const std::string& key) const {
    const auto it = members.find(key);
    return it == members.end() ? nullValue() : it->second;
}

const JsonValue& JsonValue::operator[](std::size_t i) const {
    return i < items.size() ? items[i] : nullValue();
}

std::optional<JsonValue> parseJson(std::string_view text) {
    JsonValue out;
    Parser parser(text);
    if (!parser.document(out))
        return std::nullopt;
    return out;
}

} // namespace kv::jsontest
