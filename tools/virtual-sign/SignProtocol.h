#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// The sign's side of the line: strict parsing of the frames a sign receives, and the state of
// a sign (its memory, serial address and transmit port).
namespace vsign {

constexpr int MemorySize = 0x10000;
constexpr int MaxFrameLength = 12 + 1024;
constexpr int ParameterRecord = 0x0100;
constexpr int ImageStart = 0x0200;

enum class Kind { MemoryWrite, Restart, SetSerialId, SetTransmitPort };
QString kindName(Kind kind);

struct Frame {
    Kind kind = Kind::Restart;
    int length = 0;
    int address = 0;       // 0 to 50, from the two ASCII digits
    int memoryAddress = 0; // memory write
    QByteArray data;       // memory write
    int newId = 0;         // set serial ID
    int port = 0;          // set transmit port
};

struct Parsed {
    std::optional<Frame> frame;
    QString error; // why the bytes are not a frame (empty when frame is set)
    int size = 0;  // bytes consumed
};

// Parses exactly one frame: the length field must equal the number of bytes.
Parsed parseFrame(const QByteArray &bytes);

// Why the first bytes of a frame (start bytes, length field, and up to 12 bytes in all) cannot
// begin a frame of that length; empty when they may, as far as they go.
QString headerProblem(const QByteArray &bytes, int length);

// A byte stream from the serial line: frames are found by their start bytes and length, and
// anything else is reported and skipped until the next start bytes. Start bytes that turn out
// not to begin a frame (a false start in line noise) are skipped alone: the search goes on in
// the bytes after them, so a frame that follows the noise is still found. Every byte is reported
// once, in a frame or in a rejected run, whichever way the bytes are split up.
class StreamParser {
public:
    // Appends received bytes and returns every frame and every rejected run found so far.
    std::vector<Parsed> feed(const QByteArray &bytes);
    // The line went quiet: a partial frame still buffered is reported as truncated.
    std::vector<Parsed> flush();
    int buffered() const { return int(m_buffer.size()); }

private:
    // How many bytes of a false start at the front to reject: up to the next start bytes, at
    // most the bytes it claimed.
    int falseStart(int claimed) const;

    QByteArray m_buffer;
};

// What a sign does with the frames it receives.
class SignState {
public:
    explicit SignState(int address = 20);

    enum class Action { Accepted, Ignored };
    // Applies a frame; returns whether the sign took it and a description of what it did.
    Action apply(const Frame &frame, QString *description = nullptr);

    int address() const { return m_address; }
    const QByteArray &memory() const { return m_memory; }

    // The message as the parameter record describes it.
    int columns() const;
    int speedCode() const;
    QByteArray image() const; // two bytes per column, the column layout of the sign

private:
    QByteArray m_memory;
    int m_address;
};

} // namespace vsign
