#include "classifier/http_client.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(HttpClientTest, ChunkIsAppendedWhole)
{
    std::string out = "kept ";
    const std::string chunk(1024, 'x');
    AppendResponseChunk(out, chunk.data(), chunk.size());
    EXPECT_EQ(out, "kept " + chunk);
}

TEST(HttpClientTest, NulCutsTheRestOfItsChunkOnly)
{
    std::string out;
    const char first[] = {'a', 'b', '\0', 'c', 'd'};
    const char second[] = {'e', 'f'};
    AppendResponseChunk(out, first, sizeof first);
    AppendResponseChunk(out, second, sizeof second);
    EXPECT_EQ(out, "abef");
    const char leading[] = {'\0', 'z'};
    AppendResponseChunk(out, leading, sizeof leading);
    EXPECT_EQ(out, "abef");
}

}  // namespace
