#include "accompaniment/MediaPlayer.h"

#include "platform/media/MediaError.h"

#include <array>
#include <limits>
#include <random>

namespace accompaniment {
namespace {

constexpr size_t kLengthReplyBytes = 50;
constexpr size_t kPositionReplyBytes = 255;
constexpr int64_t kMaxVolume = 1000;

// The number of bytes of the UTF-8 character that starts with `lead`; a stray byte counts as one.
size_t utf8Length(unsigned char lead)
{
    if (lead >= 0xF0 && lead <= 0xF7)
        return 4;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xC0 && lead <= 0xDF)
        return 2;
    return 1;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

MediaPlayer 媒体播放1;

MediaPlayer::MediaPlayer() : m_alias(makeAlias()) {}

MediaPlayer::~MediaPlayer() = default;

void MediaPlayer::attach(std::unique_ptr<media::MediaService> service) { m_service = std::move(service); }

std::string MediaPlayer::makeAlias()
{
    std::array<unsigned char, 16> bytes{};
    try {
        std::random_device random;
        std::uniform_int_distribution<unsigned> byte(0, 255);
        for (unsigned char& b : bytes)
            b = static_cast<unsigned char>(byte(random));
    } catch (...) {
        return {};   // no random source: the alias stays empty, as when no GUID can be made
    }
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);   // version 4: random
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);   // the standard variant
    constexpr char kDigits[] = "0123456789abcdef";
    std::string alias;
    alias.reserve(32);
    for (unsigned char b : bytes) {
        alias += kDigits[b >> 4];
        alias += kDigits[b & 0x0F];
    }
    return alias;
}

std::string MediaPlayer::extensionOf(std::string_view path)
{
    // No byte of a multi-byte UTF-8 character is below 0x80, so the last "." byte is always a real
    // full stop and never the tail of a wider character.
    const size_t dot = path.rfind('.');
    const std::string_view from = dot == std::string_view::npos ? path : path.substr(dot + 1);
    std::string extension;
    for (size_t i = 0; i < from.size();) {
        const size_t length = utf8Length(static_cast<unsigned char>(from[i]));
        if (extension.size() + length > 3 || i + length > from.size())
            break;
        for (size_t k = 0; k < length; ++k)
            extension += asciiLower(from[i + k]);
        i += length;
    }
    return extension;
}

std::string_view MediaPlayer::deviceTypeFor(std::string_view extension)
{
    struct Row {
        std::string_view extension, deviceType;
    };
    static constexpr Row kTable[] = {
        {"avi", "avivideo"},   {"wav", "waveaudio"},   {"cda", "cdaudio"},
        {"rm", "MPEGvideo"},   {"ra", "MPEGvideo"},    {"mp3", "MPEGvideo"},  {"ram", "MPEGvideo"},
        {"mid", "Sequencer"},  {"rmi", "Sequencer"},   {"idi", "Sequencer"},
        {"asf", "MPEGvideo2"}, {"wma", "MPEGvideo2"},  {"asx", "MPEGvideo2"}, {"ivf", "MPEGvideo2"},
        {"lsf", "MPEGvideo2"}, {"lsx", "MPEGvideo2"},  {"p2v", "MPEGvideo2"}, {"wax", "MPEGvideo2"},
        {"wvx", "MPEGvideo2"}, {"wmx", "MPEGvideo2"},  {"wmp", "MPEGvideo2"},
    };
    for (const Row& row : kTable)
        if (row.extension == extension)
            return row.deviceType;
    return "MPEGvideo";
}

int32_t MediaPlayer::readReplyNumber(std::string_view reply, size_t bufferBytes)
{
    if (bufferBytes == 0)
        return 0;
    reply = reply.substr(0, bufferBytes - 1);
    size_t i = 0;
    while (i < reply.size() && (reply[i] == ' ' || reply[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < reply.size() && (reply[i] == '+' || reply[i] == '-'))
        negative = reply[i++] == '-';
    constexpr int64_t kLimit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    int64_t value = 0;
    for (; i < reply.size() && reply[i] >= '0' && reply[i] <= '9'; ++i)
        value = std::min(value * 10 + (reply[i] - '0'), kLimit);
    if (negative)
        return static_cast<int32_t>(-value);
    return static_cast<int32_t>(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}

uint32_t MediaPlayer::send(std::string_view verb, std::string_view rest)
{
    std::string ignored;
    return send(verb, rest, ignored);
}

uint32_t MediaPlayer::send(std::string_view verb, std::string_view rest, std::string& reply)
{
    reply.clear();
    if (!m_service)
        return media::code(media::MediaError::UnknownAlias);
    std::string command;
    command.reserve(verb.size() + m_alias.size() + rest.size() + 2);
    command.append(verb).append(" ").append(m_alias);
    if (!rest.empty())
        command.append(" ").append(rest);
    return m_service->sendString(command, reply);
}

bool MediaPlayer::openMedia(std::string_view path)
{
    (void)send("close");   // whatever is open under the alias; with nothing open the error is expected
    m_path = path;
    m_extension = extensionOf(m_path);
    if (!m_service)
        return false;
    return m_service->open(deviceTypeFor(m_extension), m_path, m_alias) == 0;
}

int32_t MediaPlayer::mediaLength()
{
    (void)send("set", "time format milliseconds");
    std::string reply;
    if (send("status", "length", reply) != 0)
        return 0;
    return readReplyNumber(reply, kLengthReplyBytes);
}

int32_t MediaPlayer::mediaPosition()
{
    std::string reply;
    if (send("status", "position", reply) != 0)
        return -1;
    return readReplyNumber(reply, kPositionReplyBytes);
}

bool MediaPlayer::playFrom(int32_t position)
{
    m_paused = false;
    return send("play", "from " + std::to_string(position)) == 0;
}

bool MediaPlayer::togglePause()
{
    m_paused = !m_paused;
    return send(m_paused ? "pause" : "resume") == 0;
}

bool MediaPlayer::stopMedia()
{
    if (send("stop") != 0)
        return false;
    (void)send("seek", "to start");
    return true;
}

bool MediaPlayer::setVolume(int32_t left, int32_t right)
{
    // In 64 bits, so that ten times any 32-bit value is exact.
    const int64_t leftVolume = int64_t(left) * 10;
    const int64_t rightVolume = int64_t(right) * 10;
    bool leftSent = false;
    bool allSucceeded = true;
    if (leftVolume >= 0 && leftVolume <= kMaxVolume) {
        leftSent = true;
        allSucceeded = send("setaudio", "left volume to " + std::to_string(leftVolume)) == 0 && allSucceeded;
    }
    if (rightVolume >= 0 && rightVolume <= kMaxVolume)
        allSucceeded = send("setaudio", "right volume to " + std::to_string(rightVolume)) == 0 && allSucceeded;
    return leftSent && allSucceeded;
}

void MediaPlayer::close() { (void)send("close"); }

} // namespace accompaniment
