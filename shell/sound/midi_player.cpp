#include "shell/sound/midi_player.h"

#include <cstring>

#include "base/report.h"

using namespace platform;

namespace {

constexpr std::uint32_t kEndRecord = 0x40002FFF;
constexpr std::uint32_t kRecordSize = sizeof(MIDIEVENT);

// Bytes of the event at the start of event (status byte on); 0 when it runs
// past the end.
std::size_t EventLength(std::span<const std::uint8_t> event) {
  if (event.empty()) return 0;
  const std::uint8_t status = event[0];
  std::size_t length = 0;
  if (status == 0xF0 || status == 0xF7 || status == 0xFF) {
    const std::size_t prefix = status == 0xFF ? 2 : 1;
    std::uint32_t count = 0;
    const int countBytes = event.size() > prefix ? cSmfFile::ReadVarLen(event.subspan(prefix), count) : 0;
    if (countBytes == 0) return 0;
    length = prefix + static_cast<std::size_t>(countBytes) + count;
  } else {
    length = status >= 0xC0 && status <= 0xDF ? 2 : 3;
  }
  return length <= event.size() ? length : 0;
}

void WriteRecord(MIDIHDR* header, std::uint32_t at, std::uint32_t delta, std::uint32_t event) {
  const MIDIEVENT record = {delta, 0, event};
  std::memcpy(header->lpData + at, &record, kRecordSize);
}

bool Fits(const MIDIHDR* header, std::uint32_t fill, std::uint32_t size) {
  return size <= header->dwBufferLength && fill <= header->dwBufferLength - size;
}

}  // namespace

cMidiPlayer::cMidiPlayer(const char* path) : cSmfFile(path) {
  if (HasImage()) Open();
}

cMidiPlayer::~cMidiPlayer() {
  {
    std::lock_guard lock(m_Mutex);
    if (m_hStream) {
      const char* name = FileName().c_str();
      if (MMRESULT r = midiOutReset(m_hStream)) ReportLogF("Midi %s Reset %s", name, ErrorText(r).c_str());
      for (MIDIHDR& h : m_aHeader)
        if (MMRESULT r = midiOutUnprepareHeader(m_hStream, &h))
          ReportLogF("Midi %s Unprepare %s", name, ErrorText(r).c_str());
      if (MMRESULT r = midiStreamClose(m_hStream)) ReportLogF("Midi %s Close %s", name, ErrorText(r).c_str());
      m_hStream = nullptr;
    }
  }
  m_Callbacks.Quit();
  m_Thread.Join();
}

bool cMidiPlayer::IsReady() const {
  std::lock_guard lock(m_Mutex);
  return HasImage() && m_hStream != nullptr;
}

int cMidiPlayer::State() const {
  std::lock_guard lock(m_Mutex);
  return m_nState;
}

std::string cMidiPlayer::ErrorText(MMRESULT code) { return mciGetErrorString(code); }

void cMidiPlayer::Open() {
  std::lock_guard lock(m_Mutex);
  m_nCurrentBuffer = 0;
  for (int i = 0; i < 2; ++i) {
    m_aBlock[i].assign(static_cast<std::size_t>(m_nBufferSize), 0);
    m_aHeader[i].lpData = m_aBlock[i].data();
    m_aHeader[i].dwBufferLength = static_cast<std::uint32_t>(m_nBufferSize);
    m_aHeader[i].dwUser = static_cast<std::uintptr_t>(i);
  }
  m_Thread.Start([this](cThread&) {
    MidiCallbackThread();
    return 0;
  });
  const char* name = FileName().c_str();
  if (MMRESULT r = midiStreamOpen(&m_hStream, MIDI_MAPPER, &m_Callbacks)) {
    ReportLogF("Midi %s Open %s", name, ErrorText(r).c_str());
    m_hStream = nullptr;
    return;
  }
  MIDIPROPTIMEDIV division = {sizeof(MIDIPROPTIMEDIV), static_cast<std::uint32_t>((Image()[12] << 8) | Image()[13])};
  if (MMRESULT r = midiStreamProperty(m_hStream, &division, MIDIPROP_SET | MIDIPROP_TIMEDIV))
    ReportLogF("Midi %s Property %s", name, ErrorText(r).c_str());
  m_nReadPos = kHeaderSize;
  m_nState = 0;
  FillBuffer();
}

void cMidiPlayer::FillBuffer() {
  if (!m_hStream || m_nReadPos >= ImageEnd()) return;
  MIDIHDR* header = &m_aHeader[m_nCurrentBuffer];
  if (header->dwFlags.load(std::memory_order_acquire) & MHDR_INQUEUE) return;
  m_nReadPos += ConvertEvents(m_nReadPos, header);
  if (header->dwBytesRecorded == 0) return;
  const char* name = FileName().c_str();
  if (MMRESULT r = midiOutPrepareHeader(m_hStream, header)) ReportLogF("Midi %s Prepare %s", name, ErrorText(r).c_str());
  if (MMRESULT r = midiStreamOut(m_hStream, header)) ReportLogF("Midi %s Out %s", name, ErrorText(r).c_str());
  m_nCurrentBuffer = (m_nCurrentBuffer + 1) % m_nBufferCount;
}

int cMidiPlayer::ConvertEvents(int position, MIDIHDR* header) {
  std::memset(header->lpData, 0, header->dwBufferLength);
  std::uint32_t fill = 0;
  long lastRecord = -1;
  int consumed = 0;
  const std::span<const std::uint8_t> image(Image());
  while (position + consumed < ImageEnd()) {
    const auto rest = image.subspan(static_cast<std::size_t>(position + consumed));
    std::uint32_t delta = 0;
    const int deltaBytes = ReadVarLen(rest, delta);
    const auto event = rest.subspan(static_cast<std::size_t>(deltaBytes));
    const std::size_t length = deltaBytes > 0 ? EventLength(event) : 0;
    if (length == 0) {  // the image ends inside an event: nothing more to play
      consumed = ImageEnd() - position;
      break;
    }
    const std::uint8_t status = event[0];
    const bool isEnd = status == 0xFF && event[1] == 0x2F;
    const std::uint32_t before = fill;
    int used;
    if (isEnd)
      used = PutEndEvent(delta, event, header, fill);
    else if (status == 0xF0 || status == 0xF7)
      used = PutLongEvent(delta, event, header, fill);
    else if (status == 0xFF)
      used = PutMetaEvent(delta, event, header, fill);
    else
      used = PutShortEvent(delta, event, header, fill);
    if (used == 0) {
      if (fill == 0 && !isEnd) {
        // It would not fit an empty buffer either: it can never be queued.
        ReportLogF("Midi %s Out %u バイトのイベントを飛ばしました", FileName().c_str(),
                   static_cast<unsigned>(length));
        consumed += deltaBytes + static_cast<int>(length);
        continue;
      }
      break;
    }
    lastRecord = before;
    consumed += deltaBytes + used;
    if (isEnd) break;
  }
  // Every queued buffer ends with a callback record.
  if (lastRecord >= 0) {
    MIDIEVENT record;
    std::memcpy(&record, header->lpData + lastRecord, kRecordSize);
    record.dwEvent |= MEVT_F_CALLBACK;
    std::memcpy(header->lpData + lastRecord, &record, kRecordSize);
  }
  header->dwBytesRecorded = fill;
  header->dwFlags.store(0);
  header->lpNext = nullptr;
  header->reserved = 0;
  header->dwOffset = 0;
  return consumed;
}

int cMidiPlayer::PutShortEvent(std::uint32_t delta, std::span<const std::uint8_t> event, MIDIHDR* header,
                               std::uint32_t& fill) {
  const std::size_t length = EventLength(event);
  if (length == 0 || !Fits(header, fill, kRecordSize)) return 0;
  std::uint32_t message = event[0];
  for (std::size_t i = 1; i < length; ++i) message |= static_cast<std::uint32_t>(event[i]) << (8 * i);
  WriteRecord(header, fill, delta, (static_cast<std::uint32_t>(MEVT_SHORTMSG) << 24) | message);
  fill += kRecordSize;
  return static_cast<int>(length);
}

int cMidiPlayer::PutLongEvent(std::uint32_t delta, std::span<const std::uint8_t> event, MIDIHDR* header,
                              std::uint32_t& fill) {
  const std::size_t length = EventLength(event);
  std::uint32_t count = 0;
  if (length == 0) return 0;
  const int countBytes = ReadVarLen(event.subspan(1), count);
  const std::uint32_t messageLength = 1 + count;  // the status byte and the data
  const std::uint32_t size = kRecordSize + ((messageLength + 3) & ~3u);
  if (messageLength > 0xFFFFFF || !Fits(header, fill, size)) return 0;
  WriteRecord(header, fill, delta, MEVT_F_LONG | messageLength);
  char* data = header->lpData + fill + kRecordSize;
  data[0] = static_cast<char>(event[0]);
  std::memcpy(data + 1, event.data() + 1 + countBytes, count);
  fill += size;
  return static_cast<int>(length);
}

int cMidiPlayer::PutMetaEvent(std::uint32_t delta, std::span<const std::uint8_t> event, MIDIHDR* header,
                              std::uint32_t& fill) {
  const std::size_t length = EventLength(event);
  if (length == 0 || !Fits(header, fill, kRecordSize)) return 0;
  std::uint32_t record;
  if (event[1] == 0x51 && length == 6) {
    record = (static_cast<std::uint32_t>(MEVT_TEMPO) << 24) | (event[3] << 16) | (event[4] << 8) | event[5];
  } else {
    // Any other meta event keeps its delta time in a record that plays nothing.
    record = static_cast<std::uint32_t>(MEVT_NOP) << 24;
  }
  WriteRecord(header, fill, delta, record);
  fill += kRecordSize;
  return static_cast<int>(length);
}

int cMidiPlayer::PutEndEvent(std::uint32_t delta, std::span<const std::uint8_t> event, MIDIHDR* header,
                             std::uint32_t& fill) {
  const std::size_t length = EventLength(event);
  if (length == 0 || !Fits(header, fill, kRecordSize)) return 0;
  WriteRecord(header, fill, delta, kEndRecord);
  fill += kRecordSize;
  return static_cast<int>(length);
}

void cMidiPlayer::Play(int loop) {
  std::lock_guard lock(m_Mutex);
  if (!HasImage() || !m_hStream) return;
  PlayLocked(loop);
}

void cMidiPlayer::PlayLocked(int loop) {
  m_bLoop = loop;
  if (m_nState == 1) return;
  if (MMRESULT r = midiStreamRestart(m_hStream))
    ReportLogF("Midi %s Restart %s", FileName().c_str(), ErrorText(r).c_str());
  const bool wasPaused = m_nState == 2;
  m_nState = 1;
  if (!wasPaused) FillBuffer();
}

void cMidiPlayer::Stop(int flag) {
  std::lock_guard lock(m_Mutex);
  if (!HasImage() || !m_hStream) return;
  StopLocked(flag);
}

void cMidiPlayer::StopLocked(int flag) {
  const char* name = FileName().c_str();
  if (flag == 0) {
    if (MMRESULT r = midiStreamStop(m_hStream)) ReportLogF("Midi %s Stop %s", name, ErrorText(r).c_str());
    m_nState = 0;
    m_nReadPos = kHeaderSize;
    FillBuffer();
  } else if (m_nState == 1) {
    if (MMRESULT r = midiStreamPause(m_hStream)) ReportLogF("Midi %s Pause %s", name, ErrorText(r).c_str());
    m_nState = 2;
  }
}

void cMidiPlayer::MidiCallbackThread() {
  MidiCallback message;
  while (m_Callbacks.Get(message)) {
    if (message.message != MM_MOM_POSITIONCB) continue;
    std::lock_guard lock(m_Mutex);
    if (!m_hStream) continue;
    if ((message.event & 0xFFFFFF) == 0x002FFF) {
      StopLocked(0);
      if (m_bLoop) PlayLocked(1);
    } else if (m_nReadPos < ImageEnd()) {
      FillBuffer();
    }
  }
}
