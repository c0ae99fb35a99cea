#include "platform/media/testing/RecordingMediaService.h"

namespace media {

namespace {

std::vector<std::string_view> split(std::string_view s)
{
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && s[i] == ' ')
            ++i;
        size_t j = i;
        while (j < s.size() && s[j] != ' ')
            ++j;
        if (j > i)
            out.push_back(s.substr(i, j - i));
        i = j;
    }
    return out;
}

bool isInteger(std::string_view w)
{
    if (!w.empty() && w[0] == '-')
        w.remove_prefix(1);
    if (w.empty())
        return false;
    for (char c : w)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace

uint32_t RecordingMediaService::open(std::string_view deviceType, std::string_view element, std::string_view alias)
{
    Call c;
    c.kind = Call::Kind::Open;
    c.deviceType = deviceType;
    c.element = element;
    c.alias = alias;
    m_calls.push_back(std::move(c));
    return m_openResult;
}

uint32_t RecordingMediaService::sendString(std::string_view command, std::string& reply)
{
    Call c;
    c.command = command;
    m_calls.push_back(std::move(c));
    for (auto it = m_rules.rbegin(); it != m_rules.rend(); ++it) {
        if (matches(it->pattern, command)) {
            reply = it->reply;
            return it->code;
        }
    }
    reply = m_defaultReply;
    return m_defaultCode;
}

void RecordingMediaService::script(std::string pattern, std::string reply, uint32_t code)
{
    m_rules.push_back({std::move(pattern), std::move(reply), code});
}

void RecordingMediaService::setDefaultResult(uint32_t code, std::string reply)
{
    m_defaultCode = code;
    m_defaultReply = std::move(reply);
}

std::vector<std::string> RecordingMediaService::commands() const
{
    std::vector<std::string> out;
    for (const Call& c : m_calls)
        if (c.kind == Call::Kind::Command)
            out.push_back(c.command);
    return out;
}

bool RecordingMediaService::matches(std::string_view pattern, std::string_view command)
{
    const auto p = split(pattern);
    const auto c = split(command);
    if (p.size() != c.size())
        return false;
    for (size_t i = 0; i < p.size(); ++i) {
        if (p[i] == "%s")
            continue;
        if (p[i] == "%d" ? !isInteger(c[i]) : p[i] != c[i])
            return false;
    }
    return true;
}

} // namespace media
