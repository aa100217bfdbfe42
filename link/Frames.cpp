#include "Frames.h"

namespace lumawrite::link::frames {

AddressDigits addressDigits(int listIndex)
{
    const int a = (listIndex >= 0 && listIndex <= 98) ? listIndex + 1 : 0;
    return {char('0' + a / 10), char('0' + a % 10)};
}

quint8 speedCode(int listIndex)
{
    static constexpr quint8 codes[10] = {250, 200, 175, 150, 125, 100, 80, 50, 25, 10};
    return (listIndex >= 0 && listIndex < 10) ? codes[listIndex] : 0;
}

QByteArray header(quint16 length, AddressDigits address, quint8 group, quint8 command)
{
    QByteArray frame;
    frame.reserve(length);
    frame.append(char(0xAA));
    frame.append(char(0xCC));
    frame.append(char(length >> 8));
    frame.append(char(length & 0xFF));
    frame.append(address.tens);
    frame.append(address.units);
    frame.append(char(group));
    frame.append(char(command));
    return frame;
}

QByteArray blockFrame(AddressDigits address, int n, const quint8 *block)
{
    const int memory = 0x0200 + BlockBytes * n;
    QByteArray frame = header(BlockFrameLength, address, 0x00, 0x10);
    frame.append(char((memory >> 8) & 0xFF));
    frame.append(char(memory & 0xFF));
    frame.append(char(0x00));
    frame.append(char(BlockBytes));
    frame.append(reinterpret_cast<const char *>(block), BlockBytes);
    return frame;
}

QByteArray parameterFrame(AddressDigits address, qint16 blockCount, quint8 speedCode)
{
    const int columns = blockCount * ColumnsPerBlock;
    QByteArray frame = header(ParameterFrameLength, address, 0x00, 0x10);
    frame.append(char(0x01));
    frame.append(char(0x00));
    frame.append(char(0x00));
    frame.append(char(0x04));
    frame.append(char((columns >> 8) & 0xFF));
    frame.append(char(columns & 0xFF));
    frame.append(char(0x00));
    frame.append(char(speedCode));
    return frame;
}

QByteArray restartFrame(AddressDigits address)
{
    return header(RestartFrameLength, address, 0x00, 0x20);
}

QList<QByteArray> blockFrames(AddressDigits address, const std::vector<quint8> &columns)
{
    static constexpr quint8 blank[BlockBytes] = {};
    const int rendered = int(columns.size() / BlockBytes);
    const int blocks = rendered + BlankBlocksBehind;
    QList<QByteArray> all;
    all.reserve(blocks);
    for (int n = 0; n < blocks; ++n)
        all.append(blockFrame(address, n, n < rendered ? columns.data() + n * BlockBytes : blank));
    return all;
}

QList<QByteArray> messageFrames(const std::vector<quint8> &columns, int serialAddressIndex,
                                int speedIndex)
{
    const AddressDigits address = addressDigits(serialAddressIndex);
    QList<QByteArray> all = blockFrames(address, columns);
    all.append(parameterFrame(address, qint16(all.size()), speedCode(speedIndex)));
    all.append(restartFrame(address));
    return all;
}

QByteArray setSerialIdFrame(AddressDigits newId)
{
    QByteArray frame = header(ConfigFrameLength, newId, 0x01, 0x10);
    frame.append(newId.tens);
    frame.append(newId.units);
    return frame;
}

QByteArray setTransmitPortFrame(AddressDigits address, quint16 port)
{
    QByteArray frame = header(ConfigFrameLength, address, 0x01, 0x20);
    frame.append(char(port >> 8));
    frame.append(char(port & 0xFF));
    return frame;
}

} // namespace lumawrite::link::frames
