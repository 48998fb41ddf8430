// A deterministic corpus of realistic stored messages for the mail benchmarks: written
// once per process into a temporary directory, removed again at exit.
#pragma once

#include <string>
#include <vector>

// Paths of the corpus's message files (at least 10,000), created on first use.
const std::vector<std::string>& MailCorpus();
