// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "platform/FileLocations.h"

namespace wv {

// Places for the program's files in tests: a fixed answer, or the error that no place can be
// written. Counts the questions.
class FakeFileLocations : public FileLocations {
public:
    ProgramFiles answer;
    QString failure; // when set, Locate() throws it
    int calls = 0;

    ProgramFiles Locate() override {
        ++calls;
        if (!failure.isEmpty())
            throw FileLocationError(failure.toStdString());
        return answer;
    }
};

} // namespace wv
