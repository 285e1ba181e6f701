#pragma once

#include "document/core/rtfreader.h"
#include "fuzzsupport.h"

namespace ordalvex::fuzzing {

// The shape every document read by readRtf has: runs cover the text in order without gaps or
// empty runs, each names an existing format, and neighbouring runs differ in format.
inline void checkRunsCoverText(const RtfDocument& doc) {
    qsizetype at = 0;
    for (std::size_t i = 0; i < doc.runs.size(); ++i) {
        const RtfRun& run = doc.runs[i];
        FUZZ_CHECK(run.start == at, "runs follow each other without gaps");
        FUZZ_CHECK(run.length > 0, "no empty run");
        FUZZ_CHECK(run.format < doc.formats.size(), "a run's format exists");
        FUZZ_CHECK(i == 0 || doc.runs[i - 1].format != run.format, "neighbouring runs differ in format");
        at += run.length;
    }
    FUZZ_CHECK(at == doc.text.size(), "runs cover the whole text");
}

} // namespace ordalvex::fuzzing
