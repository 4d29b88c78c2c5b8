#pragma once

#include "sim/SimLine.h"

#include <cstdint>
#include <string>

// The program's side of the line in raw bytes, on a clock of its own: what
// the tests send and what comes back, without any protocol engine.
class TRawPeer
{
public:
    explicit TRawPeer(TSimLine &line) : line(line) {}

    int64_t now = 1'000'000;

    // Bytes from the program, written at now.
    void Send(const std::string &bytes);
    // What the line sends, waiting at most maxWaitUs for each byte (from
    // the moment the line has carried what was sent). The clock moves to
    // the last byte received, or by the whole wait when nothing came.
    std::string Receive(int64_t maxWaitUs = 100'000);

    // One try as the program makes it: polling, frame, EOT.
    struct TTry {
        std::string poll;  // answer to ENQ + address
        std::string frame; // answer to the command frame
        std::string ack;   // answer to EOT
    };
    TTry Try(int axis, const std::string &text, const std::string &check = {});

    // The answer text of a clean transaction, or "<fail>" with what went wrong.
    std::string Command(int axis, const std::string &text);

    // STX text ETX check
    static std::string Frame(const std::string &text);
    // The text of an answer frame whose check is right, or "<bad>".
    static std::string TextOf(const std::string &frame);

private:
    TSimLine &line;
};
