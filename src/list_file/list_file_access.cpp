// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_file/list_file_access.h"

#include <algorithm>

namespace zelvorn {

ListFileLocation PlatformListFile() {
    return {ListFilePath().value_or(u""), &StampListFile};
}

ListFileRead ReadListFile(const std::u16string& path, const ListFileStamp& before) {
    using Outcome = ListFileRead::Outcome;
    const list_file_system::Opened opened = list_file_system::OpenPlainFile(path);
    if (opened.outcome != Outcome::Read) return {opened.outcome, {}, opened.reason, {}};
    if (before.present && opened.stamp == before) return {Outcome::Unchanged, {}, {}, before};
    if (opened.stamp.size > kMaxListFileBytes) return {Outcome::TooLarge, {}, {}, opened.stamp};

    // Room for one byte more than the file had tells a file that grows while
    // it is read; it may grow up to the limit and no further.
    ListFileRead read{Outcome::Read, {}, {}, opened.stamp};
    std::string& bytes = read.bytes;
    bytes.resize(static_cast<std::size_t>(opened.stamp.size) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (bytes.size() > kMaxListFileBytes) return {Outcome::TooLarge, {}, {}, opened.stamp};
            bytes.resize(std::min<std::size_t>(bytes.size() * 2, kMaxListFileBytes + 1));
        }
        const list_file_system::ReadSome got =
            list_file_system::Read(*opened.file, bytes.data() + done, bytes.size() - done);
        if (got.error) return {Outcome::Unreadable, {}, *got.error, opened.stamp};
        if (got.count == 0) break;
        done += got.count;
    }
    bytes.resize(done);
    return read;
}

void ListWatch::start() {
    m_waiting = look();
    if (!m_waiting) return;
    m_pulse.start([this] {
        if (!look()) stop();
    });
}

void ListWatch::stop() {
    if (m_waiting) m_pulse.stop();
    m_waiting = false;
}

bool ListWatch::look() {
    // Nobody to ask counts as ended: the window shows what there is.
    const std::optional<ProcessEnd> ended =
        m_request.extractor ? m_request.extractor->ended() : ProcessEnd{};
    ListLook look{ReadListFile(m_request.path, m_request.before), ended, false};
    look.settled = look.read.stamp.present && look.read.stamp == m_lastSeen;
    m_lastSeen = look.read.stamp;
    const ListFileView view = ViewOfListFile(look, m_request.path, DecodeListText);
    // Said once while it waits: shown again at every look, the message would
    // flicker and lose what the user selected in it.
    if (!(view.waiting && m_shownWaiting)) m_show(view);
    m_shownWaiting = view.waiting;
    return view.waiting;
}

}  // namespace zelvorn
