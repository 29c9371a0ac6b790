#include "core/output/byte_sink.h"

#include "core/output/number_format.h"

namespace korv {

void ByteSink::put_unsigned(std::uint32_t value, std::size_t width, bool big_endian)
{
    for (std::size_t i = 0; i < width; ++i) {
        const std::size_t shift = 8 * (big_endian ? width - 1 - i : i);
        bytes_.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

void ByteSink::put_u16_le(std::uint16_t value) { put_unsigned(value, 2, false); }
void ByteSink::put_u16_be(std::uint16_t value) { put_unsigned(value, 2, true); }
void ByteSink::put_u32_le(std::uint32_t value) { put_unsigned(value, 4, false); }
void ByteSink::put_u32_be(std::uint32_t value) { put_unsigned(value, 4, true); }

void ByteSink::put_line(std::string_view text)
{
    bytes_.append(text);
    bytes_.append("\r\n");
}

void ByteSink::put_int(long long value) { append_int(bytes_, value); }
void ByteSink::put_fixed(double value, int decimals) { append_fixed(bytes_, value, decimals); }
void ByteSink::put_real(double value, int max_decimals) { append_real(bytes_, value, max_decimals); }

} // namespace korv
