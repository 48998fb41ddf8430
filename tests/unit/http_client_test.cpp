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

TEST(HttpClientTest, OriginIsSchemeHostAndPortInLowerCase)
{
    EXPECT_EQ(RequestOrigin("http://127.0.0.1:8080/buckets"), "http://127.0.0.1:8080");
    EXPECT_EQ(RequestOrigin("HTTP://LocalHost:8080?x=/"), "http://localhost:8080");
    EXPECT_EQ(RequestOrigin("http://popfile.lan"), "http://popfile.lan");
    EXPECT_NE(RequestOrigin("http://127.0.0.1:8080/"), RequestOrigin("http://127.0.0.1:8081/"));
}

}  // namespace
