#pragma once
// The media player component: one device of the media command service under an alias of its own;
// GUI thread.

#include "platform/media/MediaService.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace accompaniment {

class MediaPlayer {
public:
    // Makes the alias from a fresh random GUID; with no random source the alias is empty.
    MediaPlayer();
    ~MediaPlayer();
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    // The service that receives the commands; null drops the current one (every command then fails).
    // Whoever owns the audio output the service plays into detaches the service before the output goes.
    void attach(std::unique_ptr<media::MediaService> service);

    // Closes whatever is open under the alias, then opens `path` as the device type its extension
    // selects. True when the device is open.
    [[nodiscard]] bool openMedia(std::string_view path);
    // Switches the time format to milliseconds and reports the length; 0 on failure.
    [[nodiscard]] int32_t mediaLength();
    // The position in the device's current time format; -1 on failure.
    [[nodiscard]] int32_t mediaPosition();
    // Plays from `position` and clears the pause flag. True when the command succeeded.
    bool playFrom(int32_t position);
    // Turns the pause flag over, then pauses (flag now set) or resumes (flag now clear).
    bool togglePause();
    // Stops, and only after a successful stop goes back to the start. True when the stop succeeded.
    bool stopMedia();
    // Sends each channel's volume (10 × the value) only when it lies within 0 to 1000. True when the
    // left one was sent and every command sent succeeded.
    bool setVolume(int32_t left, int32_t right);
    // The window is going away: closes the device.
    void close();

    [[nodiscard]] const std::string& alias() const { return m_alias; }
    [[nodiscard]] const std::string& path() const { return m_path; }
    [[nodiscard]] const std::string& extension() const { return m_extension; }
    [[nodiscard]] bool paused() const { return m_paused; }

    // Up to three bytes after the last "." of `path` (its first three bytes when it has none), in
    // lower case, never ending inside a multi-byte character.
    [[nodiscard]] static std::string extensionOf(std::string_view path);
    [[nodiscard]] static std::string_view deviceTypeFor(std::string_view extension);
    // A reply read as a decimal integer: leading blanks, an optional sign, then digits up to the first
    // other character; only the first bufferBytes − 1 bytes count, as a reply buffer of that size holds.
    // A number beyond 32 bits saturates.
    [[nodiscard]] static int32_t readReplyNumber(std::string_view reply, size_t bufferBytes);
    // A new alias: the 32 lower-case hexadecimal digits of a random (version 4) GUID.
    [[nodiscard]] static std::string makeAlias();

private:
    uint32_t send(std::string_view verb, std::string_view rest = {});
    uint32_t send(std::string_view verb, std::string_view rest, std::string& reply);

    std::unique_ptr<media::MediaService> m_service;
    std::string m_alias;
    std::string m_path;
    std::string m_extension;
    bool m_paused = false;
};

// The accompaniment's player, made with the program and alive for its whole run.
extern MediaPlayer 媒体播放1;

} // namespace accompaniment
