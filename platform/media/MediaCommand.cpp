#include "platform/media/MediaCommand.h"

#include <vector>

namespace media {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::vector<std::string> words(std::string_view text)
{
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        size_t j = i;
        while (j < text.size() && !isBlank(text[j]))
            ++j;
        if (j > i) {
            std::string w(text.substr(i, j - i));
            for (char& c : w)
                if (c >= 'A' && c <= 'Z')
                    c = static_cast<char>(c - 'A' + 'a');
            out.push_back(std::move(w));
        }
        i = j;
    }
    return out;
}

MediaError number(const std::string& word, int64_t& out)
{
    if (word.empty() || word.size() > 10)
        return MediaError::BadNumber;
    int64_t v = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            return MediaError::BadNumber;
        v = v * 10 + (c - '0');
    }
    if (v > 0x7FFFFFFF)
        return MediaError::BadNumber;
    out = v;
    return MediaError::None;
}

} // namespace

MediaError MediaCommand::parse(std::string_view text, MediaCommand& out)
{
    const std::vector<std::string> w = words(text);
    if (w.empty())
        return MediaError::UnknownCommand;
    const std::string& verb = w[0];
    auto is = [&](size_t i, std::string_view s) { return i < w.size() && w[i] == s; };
    auto exactly = [&](size_t n) { return w.size() == n ? MediaError::None : MediaError::BadSyntax; };

    MediaCommand c;
    if (w.size() >= 2)
        c.alias = w[1];
    MediaError e = MediaError::BadSyntax;
    if (verb == "play") {
        c.verb = Verb::Play;
        if (w.size() == 2)
            e = MediaError::None;
        else if (w.size() == 4 && is(2, "from"))
            e = number(w[3], c.value);
    } else if (verb == "pause" || verb == "resume" || verb == "stop" || verb == "close") {
        c.verb = verb == "pause" ? Verb::Pause : verb == "resume" ? Verb::Resume : verb == "stop" ? Verb::Stop : Verb::Close;
        e = exactly(2);
    } else if (verb == "seek") {
        c.verb = Verb::Seek;
        if (w.size() == 4 && is(2, "to")) {
            if (is(3, "start")) {
                c.value = 0;
                e = MediaError::None;
            } else if (is(3, "end")) {
                c.value = kSeekToEnd;
                e = MediaError::None;
            } else {
                e = number(w[3], c.value);
            }
        }
    } else if (verb == "status") {
        if (w.size() == 3) {
            e = MediaError::None;
            if (is(2, "length"))
                c.verb = Verb::StatusLength;
            else if (is(2, "position"))
                c.verb = Verb::StatusPosition;
            else if (is(2, "mode"))
                c.verb = Verb::StatusMode;
            else
                e = MediaError::UnsupportedParameter;
        }
    } else if (verb == "set") {
        c.verb = Verb::SetTimeFormat;
        if (w.size() == 5 && is(2, "time") && is(3, "format"))
            e = is(4, "milliseconds") || is(4, "ms") ? MediaError::None : MediaError::UnsupportedParameter;
    } else if (verb == "setaudio") {
        c.verb = Verb::SetVolume;
        size_t i = 2;
        if (is(i, "left") || is(i, "right")) {
            c.channels = is(i, "left") ? Channels::Left : Channels::Right;
            ++i;
        }
        if (w.size() == i + 3 && is(i, "volume") && is(i + 1, "to")) {
            e = number(w[i + 2], c.value);
            if (e == MediaError::None && c.value > 1000)
                e = MediaError::OutOfRange;
        }
    } else {
        return MediaError::UnknownCommand;
    }
    if (e == MediaError::None)
        out = std::move(c);
    return e;
}

} // namespace media
