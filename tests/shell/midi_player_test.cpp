#include "shell/sound/midi_player.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>

#include "base/report.h"
#include "smf_writer.h"
#include "support/audio_samples.h"
#include "support/scoped_audio.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace {

using namespace platform;

std::vector<MIDIEVENT> Records(const MIDIHDR& header) {
  std::vector<MIDIEVENT> records;
  for (std::uint32_t at = 0; at + sizeof(MIDIEVENT) <= header.dwBytesRecorded;) {
    MIDIEVENT e;
    std::memcpy(&e, header.lpData + at, sizeof e);
    records.push_back(e);
    at += sizeof e;
    if (e.dwEvent & MEVT_F_LONG) at += ((e.dwEvent & 0xFFFFFF) + 3) & ~3u;
  }
  return records;
}

// Channel messages the synthesizer got, with the stream sample of each.
std::mutex g_HeardMutex;
std::vector<std::pair<std::uint64_t, std::uint32_t>> g_Heard;
void Hear(std::uint64_t sample, std::uint32_t message) {
  std::lock_guard lock(g_HeardMutex);
  g_Heard.push_back({sample, message});
}
std::vector<std::pair<std::uint64_t, std::uint32_t>> Heard() {
  std::lock_guard lock(g_HeardMutex);
  return g_Heard;
}

class MidiPlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OpenReport("Report_Game.txt"), 1);
    std::lock_guard lock(g_HeardMutex);
    g_Heard.clear();
    SetMidiEventListenerForTests(Hear);
  }
  void TearDown() override {
    SetMidiEventListenerForTests(nullptr);
    RestoreSoundFontSearch();
  }
  void Write(const char* name, const std::vector<std::uint8_t>& bytes) {
    WriteTextFile(m_Folder / name, std::string(bytes.begin(), bytes.end()));
  }
  std::string Report() const { return ReadTextFile(m_Folder / "Report_Game.txt"); }
  // Renders until pred holds (the callback thread runs between renders).
  template <class Pred>
  bool RenderUntil(Pred pred, int maxFrames = 10 * kMixerRate) {
    for (int done = 0; done < maxFrames; done += 1024) {
      if (pred()) return true;
      RenderFrames(1024);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return pred();
  }

  ScopedAudio m_Audio;
  TempFolder m_Folder;
  ScopedCurrentFolder m_Enter{m_Folder.path()};
};


TEST_F(MidiPlayerTest, RecordsOfEveryEventKind) {
  SetSoundFontSearchForTests({});  // converting needs no stream
  SmfTrack t;
  t.Tempo(0, 0x07A120).Program(0, 1, 19).SysEx(4, {0x7E, 0x7F, 0x09, 0x01, 0xF7});
  t.Meta(2, 0x01, {'h', 'i'}).NoteOn(3, 1, 60, 100).End(5);
  Write("all.mid", MakeSmf(0, 96, {t}));
  cMidiPlayer player("all.mid");
  ASSERT_TRUE(player.HasImage());
  EXPECT_FALSE(player.IsReady());
  EXPECT_NE(Report().find("Midi all.mid Open"), std::string::npos);

  std::vector<char> block(cMidiPlayer::kBufferSize);
  MIDIHDR header;
  header.lpData = block.data();
  header.dwBufferLength = cMidiPlayer::kBufferSize;
  const int consumed = player.ConvertEvents(cSmfFile::kHeaderSize, &header);
  EXPECT_EQ(consumed, static_cast<int>(player.Image().size()) - cSmfFile::kHeaderSize);
  EXPECT_EQ(header.dwBytesRecorded, 12u * 6 + 8);  // the sysex: 12 + 8 bytes
  const auto records = Records(header);
  ASSERT_EQ(records.size(), 6u);
  EXPECT_EQ(records[0].dwEvent, 0x0107A120u);                           // tempo
  EXPECT_EQ(records[1].dwEvent, 0x000013C1u);                           // program change
  EXPECT_EQ(records[2].dwEvent, 0x80000006u);                           // sysex of 1 + 5 bytes
  EXPECT_EQ(std::memcmp(block.data() + 3 * 12, "\xF0\x7E\x7F\x09\x01\xF7\0\0", 8), 0);
  EXPECT_EQ(records[3].dwEvent, static_cast<std::uint32_t>(MEVT_NOP) << 24);  // text: keeps its delta
  EXPECT_EQ(records[3].dwDeltaTime, 2u);
  EXPECT_EQ(records[4].dwEvent, 0x00643C91u);
  EXPECT_EQ(records[4].dwDeltaTime, 3u);
  EXPECT_EQ(records[5].dwEvent, 0x40002FFFu);  // the end, with its callback
  EXPECT_EQ(records[5].dwDeltaTime, 5u);
}

TEST_F(MidiPlayerTest, ALongPieceFillsBuffersThatEachEndWithACallback) {
  SetSoundFontSearchForTests({});
  SmfTrack t;
  for (int i = 0; i < 1500; ++i) t.NoteOn(1, 0, 60, 100).NoteOff(1, 0, 60);
  t.SysEx(0, std::vector<std::uint8_t>(30000, 0x11));  // larger than any buffer
  t.NoteOn(1, 0, 62, 100).End(0);
  Write("long.mid", MakeSmf(0, 96, {t}));
  cMidiPlayer player("long.mid");
  std::vector<char> block(cMidiPlayer::kBufferSize);
  MIDIHDR header;
  header.lpData = block.data();
  header.dwBufferLength = cMidiPlayer::kBufferSize;
  int position = cSmfFile::kHeaderSize;
  std::vector<std::size_t> counts;
  while (position < static_cast<int>(player.Image().size())) {
    position += player.ConvertEvents(position, &header);
    const auto records = Records(header);
    ASSERT_FALSE(records.empty());
    counts.push_back(records.size());
    for (std::size_t i = 0; i + 1 < records.size(); ++i) EXPECT_FALSE(records[i].dwEvent & MEVT_F_CALLBACK);
    EXPECT_TRUE(records.back().dwEvent & MEVT_F_CALLBACK);
  }
  // The sysex waits for an empty buffer, where it still does not fit: dropped.
  EXPECT_EQ(counts, (std::vector<std::size_t>{2000, 1000, 2}));
  EXPECT_NE(Report().find(Utf8(u8"Midi long.mid Out 30004 バイトのイベントを飛ばしました")), std::string::npos);
}

TEST_F(MidiPlayerTest, NotesPlayAtTheSamplesTheirTempoGives) {
  // 441 ticks a quarter: at 500000 us a tick is 50 samples, at 250000 25.
  SmfTrack t;
  t.NoteOn(0, 0, 60, 100).NoteOff(20, 0, 60).Tempo(0, 250000).NoteOn(7, 0, 64, 100).NoteOff(1000, 0, 64).End(0);
  Write("tempo.mid", MakeSmf(0, 441, {t}));
  cMidiPlayer player("tempo.mid");
  ASSERT_TRUE(player.IsReady());
  player.Play(0);
  const auto out = RenderFrames(4096);  // one buffer of the mixer holds the first three
  const auto heard = Heard();
  ASSERT_GE(heard.size(), 3u);
  const std::uint64_t start = heard[0].first;
  EXPECT_EQ(heard[0].second, 0x643C90u);
  EXPECT_EQ(heard[1].first - start, 1000u);  // 20 ticks at 50
  EXPECT_EQ(heard[2].first - start, 1175u);  // 7 more at 25
  EXPECT_EQ(heard[2].second, 0x644090u);
  EXPECT_GT(PeakOf(out, start, 1000), 500);
  ASSERT_TRUE(RenderUntil([] { return Heard().size() >= 4; }));
  EXPECT_EQ(Heard()[3].first - start, 1175u + 25000u);
}

TEST_F(MidiPlayerTest, APieceShorterThanABufferLoopsFromItsFirstEvent) {
  SmfTrack t;
  t.NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).End(0);
  Write("short.mid", MakeSmf(0, 96, {t}));
  cMidiPlayer player("short.mid");
  ASSERT_TRUE(player.IsReady());
  player.Play(1);
  ASSERT_TRUE(RenderUntil([] { return Heard().size() >= 6; }));  // three passes
  const auto heard = Heard();
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(heard[i].second, i % 2 == 0 ? 0x643C90u : 0x3C80u) << i;
  EXPECT_EQ(player.State(), 1);
}

TEST_F(MidiPlayerTest, WithoutLoopingThePieceStopsAndRewindsAndPauseSilencesItsNotes) {
  SmfTrack t;
  t.NoteOn(0, 0, 60, 110).NoteOff(960, 0, 60).End(0);  // five seconds at 96 ticks a half second
  Write("held.mid", MakeSmf(0, 96, {t}));
  cMidiPlayer player("held.mid");
  ASSERT_TRUE(player.IsReady());
  player.Play(0);
  EXPECT_GT(PeakOf(RenderFrames(8192), 0, 8192), 500);
  player.Stop(1);
  EXPECT_EQ(player.State(), 2);
  const auto paused = RenderFrames(kMixerRate);
  EXPECT_EQ(PeakOf(paused, kMixerRate - 4096, 4096), 0);  // the notes were released
  player.Play(0);  // goes on: no new note-on
  RenderFrames(4096);
  EXPECT_EQ(Heard().size(), 1u);
  player.Stop(0);
  EXPECT_EQ(player.State(), 0);
  player.Play(0);  // from the start
  RenderFrames(1024);
  EXPECT_EQ(Heard().size(), 2u);
}

TEST_F(MidiPlayerTest, PlayersComeAndGoWhileTheMixerRendersAndCallbacksArrive) {
  SmfTrack t;
  for (int i = 0; i < 30; ++i) t.NoteOn(0, i % 16, 60 + i, 100).NoteOff(1, i % 16, 60 + i);
  t.End(0);
  Write("busy.mid", MakeSmf(0, 4, {t}));
  std::atomic<bool> stop{false};
  std::thread renderer([&] {
    while (!stop) RenderFrames(256);
  });
  for (int round = 0; round < 4; ++round) {
    cMidiPlayer player("busy.mid");
    player.Play(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    player.Stop(round % 2);
    player.Play(1);
  }
  stop = true;
  renderer.join();
}

}  // namespace
