// WCompress and WUnCompress on zlib's one-call functions.
#include "korvanthide/compression.h"

#include <zlib.h>

#include "korvanthide/errors.h"
#include "core/compression_mail.h"

namespace korv {

namespace {

using ZlibCall = int (*)(Bytef*, uLongf*, const Bytef*, uLong);

// Lengths outside the caller's buffers are refused as zlib's stream error:
// zlib would otherwise read or write past them.
void bridge(ZlibCall call, std::span<const unsigned char> source,
            std::span<unsigned char> destination, int source_length, int& destination_length,
            int& result)
{
    if (source_length < 0 || static_cast<std::size_t>(source_length) > source.size() ||
        destination_length < 0 || static_cast<std::size_t>(destination_length) > destination.size()) {
        result = Z_STREAM_ERROR;
        return;
    }
    uLongf length = static_cast<uLongf>(destination_length);
    result = call(destination.data(), &length, source.data(), static_cast<uLong>(source_length));
    destination_length = static_cast<int>(length);
}


void run(ZlibCall call, std::span<const unsigned char> source, std::span<unsigned char> destination,
         int source_length, int& destination_length, std::string_view routine)
{
    int result = 0;
    bridge(call, source, destination, source_length, destination_length, result);
    if (result != Z_OK) {
        destination_length = 0;
        error_state().other_code = result;
        err_report(err::compression, routine);
    }
}

int compress_call(Bytef* dest, uLongf* dest_length, const Bytef* source, uLong source_length)
{
    return compress(dest, dest_length, source, source_length);
}

int uncompress_call(Bytef* dest, uLongf* dest_length, const Bytef* source, uLong source_length)
{
    return uncompress(dest, dest_length, source, source_length);
}

std::span<const unsigned char> as_unsigned(std::span<const char> s)
{
    return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

std::span<unsigned char> as_unsigned(std::span<char> s)
{
    return {reinterpret_cast<unsigned char*>(s.data()), s.size()};
}

} // namespace

void sys_compress_bridge(std::span<const unsigned char> source, std::span<unsigned char> destination,
                         int source_length, int& destination_length, int& result)
{
    bridge(compress_call, source, destination, source_length, destination_length, result);
}

void sys_uncompress_bridge(std::span<const unsigned char> source,
                           std::span<unsigned char> destination, int source_length,
                           int& destination_length, int& result)
{
    bridge(uncompress_call, source, destination, source_length, destination_length, result);
}

} // namespace korv

void WCompress(std::span<const unsigned char> source, std::span<unsigned char> destination,
               int source_length, int& destination_length)
{
    korv::run(korv::compress_call, source, destination, source_length, destination_length,
              "WCompress");
}

void WCompress(std::span<const char> source, std::span<char> destination, int source_length,
               int& destination_length)
{
    WCompress(korv::as_unsigned(source), korv::as_unsigned(destination), source_length,
              destination_length);
}

void WUnCompress(std::span<const unsigned char> source, std::span<unsigned char> destination,
                 int source_length, int& destination_length)
{
    korv::run(korv::uncompress_call, source, destination, source_length, destination_length,
              "WUnCompress");
}

void WUnCompress(std::span<const char> source, std::span<char> destination, int source_length,
                 int& destination_length)
{
    WUnCompress(korv::as_unsigned(source), korv::as_unsigned(destination), source_length,
                destination_length);
}
