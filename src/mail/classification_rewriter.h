// Rewriting a stored message's "X-Text-Classification:" header after a correction: the
// message is copied beside itself with the header's value replaced (and, when asked, the
// "[unclassified]" mark taken out of its Subject), then put in the original's place in one
// step, so that the message is never lost or left half written.
#pragma once

#include <string>

class FileSystem;

// Rewrites the classification header of the message file at mailPath to bucket; with
// editSubject also removes "[unclassified]" and the blanks after it from the start of a
// Subject value that comes before that header. Every line end of the new file is CR LF.
// The file is replaced only once the new one is completely written; on any failure (no
// classification header, a read or write error, no temporary name) it stays as it was and
// no temporary file is left. Returns whether a Subject edit was made and kept.
bool RewriteClassificationHeader(FileSystem& files, const std::string& mailPath,
                                 const std::string& bucket, bool editSubject);
