// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fontconfigreader.h"

#include <fontconfig/fontconfig.h>

namespace app {

// fontconfig keeps the configuration it reads for the whole process and lets any
// thread read it; a second reader would find it made and return.
FontConfigReader::FontConfigReader()
    : m_thread([] { FcInit(); })
{
}

FontConfigReader::~FontConfigReader() { wait(); }

void FontConfigReader::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace app
