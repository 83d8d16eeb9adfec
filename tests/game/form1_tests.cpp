// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/form1.h"
#include "recordingruntime.h"

#include <gtest/gtest.h>

using namespace game;

TEST(Smoke, StartDrawsFiveDifferentLetters)
{
    test::RecordingRuntime rt;
    Form1 form(rt);
    rt.onCheck1Click = [&] { form.Check1_Click(); };
    form.Form_Load();
    form.Command2_Click();
    const auto& l = form.state().Letters;
    for (int a = 0; a < 5; ++a)
        for (int b = a + 1; b < 5; ++b)
            EXPECT_NE(l[a], l[b]);
}
