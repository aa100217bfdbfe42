#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <vector>

namespace lumawrite::link {

// Every frame to a sign starts with an 8-byte header: 0xAA 0xCC, the frame's total length
// (16-bit big-endian), the sign's serial address as two ASCII digits, a command group and a
// command. There is no checksum and no trailer; the bytes go out exactly as built.
struct AddressDigits {
    char tens = '0';
    char units = '0';
};

namespace frames {

constexpr int BlockBytes = 128;
constexpr int ColumnsPerBlock = 64;
constexpr int BlockFrameLength = 140;
constexpr int ParameterFrameLength = 16;
constexpr int RestartFrameLength = 8;
constexpr int ConfigFrameLength = 10;

// The digits for an address list position (0 = "01"); no selection (-1) gives "00".
AddressDigits addressDigits(int listIndex);

// The sign's speed code for a speed list position (0 = slowest ... 9 = fastest); any other
// position gives 0.
quint8 speedCode(int listIndex);

QByteArray header(quint16 length, AddressDigits address, quint8 group, quint8 command);

// Memory write of block n: 128 bytes to sign address 0x0200 + 128 n.
QByteArray blockFrame(AddressDigits address, int n, const quint8 *block);

// Memory write of the message parameters at 0x0100: length in columns and speed code.
QByteArray parameterFrame(AddressDigits address, qint16 blockCount, quint8 speedCode);

// Makes the sign start showing what it holds.
QByteArray restartFrame(AddressDigits address);

// Blank blocks that follow every message in the sign memory.
constexpr int BlankBlocksBehind = 5;
// The most rendered blocks a message may have: with the blank blocks behind them they fill the
// sign's message memory of 156 blocks.
constexpr int MaxMessageBlocks = 156 - BlankBlocksBehind;

// The memory-write frames of a message: one for each whole 128-byte block of the column image,
// then the blank blocks behind them.
QList<QByteArray> blockFrames(AddressDigits address, const std::vector<quint8> &columns);

// Every frame of a message upload, in the order they go out: the block frames, the parameter
// frame counting all of those blocks, and the restart frame. Positions are those of the serial
// address and speed lists (0 = address 01, 0 = slowest).
QList<QByteArray> messageFrames(const std::vector<quint8> &columns, int serialAddressIndex,
                                int speedIndex);

// Gives the sign a new serial ID; the frame is addressed to that same ID.
QByteArray setSerialIdFrame(AddressDigits newId);

// Sets the UDP port the sign transmits to on the LAN (0 to 32767).
QByteArray setTransmitPortFrame(AddressDigits address, quint16 port);

} // namespace frames
} // namespace lumawrite::link
