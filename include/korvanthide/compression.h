// Compression of memory buffers with zlib's one-call functions.
#pragma once

#include <span>
#include <string_view>

// Compresses source_length bytes of source into destination. destination_length
// is the capacity going in (at most the buffer's size) and the compressed
// length coming out. A zlib failure reports 1044 with zlib's code and gives
// length 0. The compressed data is a zlib stream (it starts 78 9C).
void WCompress(std::span<const unsigned char> source, std::span<unsigned char> destination,
               int source_length, int& destination_length);
void WCompress(std::span<const char> source, std::span<char> destination, int source_length,
               int& destination_length);

// Expands a zlib stream likewise; damaged data reports 1044 "data error".
void WUnCompress(std::span<const unsigned char> source, std::span<unsigned char> destination,
                 int source_length, int& destination_length);
void WUnCompress(std::span<const char> source, std::span<char> destination, int source_length,
                 int& destination_length);
