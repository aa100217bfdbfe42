#include "SignProtocol.h"

namespace vsign {
namespace {

int byteAt(const QByteArray &b, int i)
{
    return quint8(b[i]);
}

bool isDigit(int c)
{
    return c >= '0' && c <= '9';
}

Parsed reject(const QString &why, int size)
{
    return {std::nullopt, why, size};
}

} // namespace

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::MemoryWrite:
        return QStringLiteral("memory-write");
    case Kind::Restart:
        return QStringLiteral("restart");
    case Kind::SetSerialId:
        return QStringLiteral("set-serial-id");
    case Kind::SetTransmitPort:
        return QStringLiteral("set-transmit-port");
    }
    return {};
}

Parsed parseFrame(const QByteArray &b)
{
    const int size = int(b.size());
    if (size < 8)
        return reject(QStringLiteral("too short for a header (%1 bytes)").arg(size), size);
    if (byteAt(b, 0) != 0xAA || byteAt(b, 1) != 0xCC)
        return reject(QStringLiteral("no start bytes 0xAA 0xCC"), size);
    const int length = byteAt(b, 2) << 8 | byteAt(b, 3);
    if (length != size)
        return reject(QStringLiteral("length field %1 but %2 bytes").arg(length).arg(size), size);
    const QString problem = headerProblem(b, length);
    if (!problem.isEmpty())
        return reject(problem, size);

    Frame f;
    f.length = length;
    f.address = (byteAt(b, 4) - '0') * 10 + (byteAt(b, 5) - '0');
    const int group = byteAt(b, 6);
    const int command = byteAt(b, 7);
    if (group == 0x00 && command == 0x10) {
        f.kind = Kind::MemoryWrite;
        f.memoryAddress = byteAt(b, 8) << 8 | byteAt(b, 9);
        f.data = b.mid(12);
    } else if (group == 0x00) { // the header is checked: the rest are the known commands
        f.kind = Kind::Restart;
    } else if (command == 0x10) {
        if (!isDigit(byteAt(b, 8)) || !isDigit(byteAt(b, 9)))
            return reject(QStringLiteral("new serial ID is not two ASCII digits"), size);
        f.kind = Kind::SetSerialId;
        f.newId = (byteAt(b, 8) - '0') * 10 + (byteAt(b, 9) - '0');
        if (f.newId < 1 || f.newId > 50)
            return reject(QStringLiteral("new serial ID %1 is outside 01 to 50").arg(f.newId),
                          size);
    } else {
        f.kind = Kind::SetTransmitPort;
        f.port = byteAt(b, 8) << 8 | byteAt(b, 9);
    }
    return {f, {}, size};
}

QString headerProblem(const QByteArray &b, int length)
{
    const int held = int(qMin<qsizetype>(b.size(), 12));
    if (held < 6)
        return {};
    if (!isDigit(byteAt(b, 4)) || !isDigit(byteAt(b, 5)))
        return QStringLiteral("address is not two ASCII digits");
    const int address = (byteAt(b, 4) - '0') * 10 + (byteAt(b, 5) - '0');
    if (address > 50)
        return QStringLiteral("address %1 is outside 00 to 50").arg(address);
    if (held < 8)
        return {};
    const int group = byteAt(b, 6);
    const int command = byteAt(b, 7);
    if (group == 0x00 && command == 0x10) {
        if (length < 12)
            return QStringLiteral("memory write shorter than 12 bytes");
        if (held < 12)
            return {};
        const int memoryAddress = byteAt(b, 8) << 8 | byteAt(b, 9);
        const int count = byteAt(b, 10) << 8 | byteAt(b, 11);
        if (count != length - 12)
            return QStringLiteral("memory write count %1 but %2 data bytes")
                .arg(count)
                .arg(length - 12);
        if (count == 0)
            return QStringLiteral("memory write of no bytes");
        if (memoryAddress + count > MemorySize)
            return QStringLiteral("memory write past the end of memory");
        return {};
    }
    if (group == 0x00 && command == 0x20)
        return length == 8 ? QString() : QStringLiteral("restart frame of %1 bytes").arg(length);
    if (group == 0x01 && (command == 0x10 || command == 0x20))
        return length == 10 ? QString()
                            : QStringLiteral("configuration frame of %1 bytes").arg(length);
    return QStringLiteral("unknown command 0x%1 0x%2")
        .arg(group, 2, 16, QLatin1Char('0'))
        .arg(command, 2, 16, QLatin1Char('0'));
}

std::vector<Parsed> StreamParser::feed(const QByteArray &bytes)
{
    m_buffer.append(bytes);
    std::vector<Parsed> out;
    for (;;) {
        const qsizetype start = m_buffer.indexOf("\xAA\xCC");
        if (start < 0) {
            // Noise is reported as one run when the next start bytes come (or the line goes
            // quiet); only a run longer than any frame is reported at once.
            if (m_buffer.size() > MaxFrameLength) {
                const bool keepLast = quint8(m_buffer.back()) == 0xAA;
                const int junk = int(m_buffer.size()) - (keepLast ? 1 : 0);
                out.push_back(
                    reject(QStringLiteral("%1 bytes without start bytes").arg(junk), junk));
                m_buffer.remove(0, junk);
            }
            return out;
        }
        if (start > 0) {
            out.push_back(
                reject(QStringLiteral("%1 bytes before the start bytes").arg(start), int(start)));
            m_buffer.remove(0, start);
        }
        if (m_buffer.size() < 4)
            return out;
        const int length = quint8(m_buffer[2]) << 8 | quint8(m_buffer[3]);
        if (length < 8 || length > MaxFrameLength) {
            out.push_back(reject(QStringLiteral("impossible length field %1").arg(length), 2));
            m_buffer.remove(0, 2); // look for the next start bytes
            continue;
        }
        // A header that cannot begin a frame is rejected as soon as it is seen, without
        // waiting for the bytes its length field promises.
        const QString problem = headerProblem(m_buffer, length);
        if (problem.isEmpty() && m_buffer.size() < length)
            return out;
        Parsed p = problem.isEmpty() ? parseFrame(m_buffer.left(length)) : reject(problem, 0);
        if (p.frame) {
            out.push_back(p);
            m_buffer.remove(0, length);
            continue;
        }
        // A false start: the real frame may begin inside the bytes it claimed.
        p.size = falseStart(qMin(length, int(m_buffer.size())));
        if (p.size == m_buffer.size() && quint8(m_buffer.back()) == 0xAA)
            --p.size; // it may start the next frame
        out.push_back(p);
        m_buffer.remove(0, p.size);
    }
}

std::vector<Parsed> StreamParser::flush()
{
    std::vector<Parsed> out;
    while (!m_buffer.isEmpty()) {
        if (m_buffer.startsWith("\xAA\xCC")) {
            // A frame cut short; frames after its start bytes are still looked for.
            const int size = falseStart(int(m_buffer.size()));
            out.push_back(reject(QStringLiteral("truncated frame (%1 bytes)").arg(size), size));
            m_buffer.remove(0, size);
        } else if (!m_buffer.contains("\xAA\xCC")) {
            const int size = int(m_buffer.size());
            out.push_back(reject(QStringLiteral("%1 bytes without start bytes").arg(size), size));
            m_buffer.clear();
        }
        for (Parsed &p : feed({}))
            out.push_back(p);
    }
    return out;
}

int StreamParser::falseStart(int claimed) const
{
    const qsizetype next = m_buffer.indexOf("\xAA\xCC", 2);
    return next >= 0 && next < claimed ? int(next) : claimed;
}

SignState::SignState(int address) : m_memory(MemorySize, '\0'), m_address(address) {}

SignState::Action SignState::apply(const Frame &f, QString *description)
{
    auto describe = [description](const QString &text) {
        if (description)
            *description = text;
    };
    // A set-serial-ID frame is how a sign gets its address: any sign on the line takes it.
    if (f.kind == Kind::SetSerialId) {
        describe(QStringLiteral("serial ID %1 -> %2").arg(m_address).arg(f.newId));
        m_address = f.newId;
        return Action::Accepted;
    }
    if (f.address != m_address) {
        describe(QStringLiteral("addressed to %1, this sign is %2").arg(f.address).arg(m_address));
        return Action::Ignored;
    }
    switch (f.kind) {
    case Kind::MemoryWrite:
        m_memory.replace(f.memoryAddress, int(f.data.size()), f.data);
        describe(QStringLiteral("0x%1, %2 bytes")
                     .arg(f.memoryAddress, 4, 16, QLatin1Char('0'))
                     .arg(f.data.size()));
        break;
    case Kind::Restart:
        describe(QStringLiteral("%1 columns, speed code %2").arg(columns()).arg(speedCode()));
        break;
    case Kind::SetTransmitPort:
        describe(QStringLiteral("transmit port %1").arg(f.port));
        break;
    case Kind::SetSerialId:
        break;
    }
    return Action::Accepted;
}

int SignState::columns() const
{
    return quint8(m_memory[ParameterRecord]) << 8 | quint8(m_memory[ParameterRecord + 1]);
}

int SignState::speedCode() const
{
    return quint8(m_memory[ParameterRecord + 3]);
}

QByteArray SignState::image() const
{
    const int bytes = qMin(columns() * 2, MemorySize - ImageStart);
    return m_memory.mid(ImageStart, bytes);
}

} // namespace vsign
