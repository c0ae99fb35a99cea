#pragma once
// A media service for tests: records every open and command in order and answers from a script;
// used on the test's thread.

#include "platform/media/MediaService.h"

#include <string>
#include <vector>

namespace media {

class RecordingMediaService final : public MediaService {
public:
    struct Call {
        enum class Kind { Open, Command };
        Kind kind = Kind::Command;
        std::string command;    // the command string, for Kind::Command
        std::string deviceType; // the open's arguments, for Kind::Open
        std::string element;
        std::string alias;
    };

    [[nodiscard]] uint32_t open(std::string_view deviceType, std::string_view element, std::string_view alias) override;
    [[nodiscard]] uint32_t sendString(std::string_view command, std::string& reply) override;

    // The result of every later open() (0 unless set).
    void setOpenResult(uint32_t code) { m_openResult = code; }
    // How to answer commands that match `pattern`: words separated by single spaces, where "%s"
    // stands for any one word and "%d" for any decimal integer ("status %s length"). The rule
    // added last wins; commands that match no rule get the default (0 and an empty reply).
    void script(std::string pattern, std::string reply, uint32_t code = 0);
    void setDefaultResult(uint32_t code, std::string reply = {});

    [[nodiscard]] const std::vector<Call>& calls() const { return m_calls; }
    // Only the command strings, in order.
    [[nodiscard]] std::vector<std::string> commands() const;
    void clearCalls() { m_calls.clear(); }

    [[nodiscard]] static bool matches(std::string_view pattern, std::string_view command);

private:
    struct Rule {
        std::string pattern;
        std::string reply;
        uint32_t code;
    };
    std::vector<Call> m_calls;
    std::vector<Rule> m_rules;
    uint32_t m_openResult = 0;
    uint32_t m_defaultCode = 0;
    std::string m_defaultReply;
};

} // namespace media
