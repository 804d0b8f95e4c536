#include "tools/make-demo/demo_sounds.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "ogg_encoder.h"
#include "platform/audio/wave_file.h"
#include "platform/files.h"
#include "smf_writer.h"

namespace demo {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kWaveRate = 22050;
constexpr int kMusicRate = 44100;

std::string SystemSoundFile(int k) {
  char name[32];
  std::snprintf(name, sizeof name, "wave\\System%02d.wav", k);
  return name;
}

const char* const kCoinSound = "wave\\Coin.wav";
const char* const kPowerSound = "wave\\PowerUp.wav";

// A short blip: a tone that glides from `from` to `to` Hz and decays.
std::vector<std::int16_t> Blip(double from, double to, double seconds) {
  const int frames = static_cast<int>(seconds * kWaveRate);
  std::vector<std::int16_t> samples;
  double phase = 0;
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / frames;
    phase += 2 * kPi * (from + (to - from) * t) / kWaveRate;
    const double envelope = std::min(1.0, i / 60.0) * (1 - t) * (1 - t);
    samples.push_back(static_cast<std::int16_t>(9000 * envelope * (std::sin(phase) > 0 ? 1 : -1) * 0.5 +
                                                9000 * envelope * std::sin(phase) * 0.5));
  }
  return samples;
}

double NoteHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// A looping piece: notes of equal length, each a soft tone with a bass
// below it; the last note leads back into the first.
std::vector<float> Piece(const std::vector<int>& notes, double noteSeconds) {
  const int noteFrames = static_cast<int>(noteSeconds * kMusicRate);
  std::vector<float> samples;
  for (std::size_t n = 0; n < notes.size(); ++n) {
    const double melody = NoteHz(notes[n]);
    const double bass = NoteHz(notes[n / 4 * 4] - 24);
    for (int i = 0; i < noteFrames; ++i) {
      const double t = static_cast<double>(i) / kMusicRate;
      const double envelope = std::min(1.0, i / 200.0) * std::exp(-3.0 * i / noteFrames);
      const double left = 0.30 * envelope * std::sin(2 * kPi * melody * t) + 0.15 * std::sin(2 * kPi * bass * t);
      const double right = 0.22 * envelope * std::sin(2 * kPi * melody * t) + 0.18 * std::sin(2 * kPi * bass * t);
      samples.push_back(static_cast<float>(left));
      samples.push_back(static_cast<float>(right));
    }
  }
  return samples;
}

// The world-map tune: a melody on a flute and a bass line, looping.
std::vector<std::uint8_t> WorldMapMidi() {
  constexpr int kQuarter = 96;
  SmfTrack melody, bass;
  melody.Tempo(0, 500000).Program(0, 0, 73);
  const int tune[] = {72, 74, 76, 79, 76, 74, 72, 67, 69, 72, 74, 76, 74, 72, 71, 72};
  for (int note : tune) melody.NoteOn(0, 0, note, 96).NoteOff(kQuarter, 0, note);
  melody.End(0);
  bass.Program(0, 1, 32);
  for (int bar = 0; bar < 4; ++bar) {
    const int root = bar % 2 == 0 ? 48 : 43;
    bass.NoteOn(0, 1, root, 100).NoteOff(2 * kQuarter, 1, root);
    bass.NoteOn(0, 1, root + 7, 90).NoteOff(2 * kQuarter, 1, root + 7);
  }
  bass.End(0);
  return MakeSmf(1, kQuarter, {melody, bass});
}

bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
  if (!bytes.empty() && platform::WriteFileAtomic(platform::MapPath(path), bytes)) return true;
  error = path + " : cannot be written";
  return false;
}

}  // namespace

void AddDemoSounds(cDatabase& database, cSystemData& settings) {
  settings.m_vSoundFiles.resize(cSystemData::kSystemSounds);
  for (int k = 0; k < cSystemData::kSystemSounds; ++k) settings.m_vSoundFiles[static_cast<std::size_t>(k)] = SystemSoundFile(k);

  cEdSound coin;
  coin.m_strName = "コイン";
  coin.m_strFile = kCoinSound;
  cEdSound power;
  power.m_strName = "パワーアップ";
  power.m_strFile = kPowerSound;
  database.m_vSound.push_back(coin);
  database.m_vSound.push_back(power);

  // Entries 1 to 3; the stage music is kStageMusicEntry.
  for (const char* file : {"bgm\\Title.ogg", "bgm\\Stage.ogg", "bgm\\WorldMap.mid"}) {
    cEdBgm bgm;
    bgm.m_strName = file + 4;
    bgm.m_strFile = file;
    database.m_vBgm.push_back(bgm);
  }
  constexpr int kTitleMusicEntry = 1, kWorldMapMusicEntry = 3;
  settings.m_vSystemBgm = {kTitleMusicEntry, kWorldMapMusicEntry, kTitleMusicEntry, kTitleMusicEntry};
}

bool WriteDemoSounds(std::string& error) {
  for (int k = 0; k < cSystemData::kSystemSounds; ++k) {
    const double from = NoteHz(60 + 2 * k), to = NoteHz(k % 3 == 2 ? 48 + 2 * k : 67 + 2 * k);
    const auto wave = platform::MakeWaveFile(Blip(from, to, 0.08 + 0.01 * (k % 5)), kWaveRate, 1);
    if (!Write(SystemSoundFile(k), wave, error)) return false;
  }
  if (!Write(kCoinSound, platform::MakeWaveFile(Blip(NoteHz(83), NoteHz(88), 0.12), kWaveRate, 1), error) ||
      !Write(kPowerSound, platform::MakeWaveFile(Blip(NoteHz(60), NoteHz(84), 0.4), kWaveRate, 1), error))
    return false;

  const auto title = Piece({60, 64, 67, 72, 67, 64, 60, 64, 62, 65, 69, 74, 69, 65, 62, 67}, 0.25);
  const auto stage = Piece({57, 60, 64, 60, 57, 60, 64, 69, 55, 59, 62, 59, 55, 59, 62, 67}, 0.2);
  return Write("bgm\\Title.ogg", EncodeOggVorbis(title, kMusicRate, 2), error) &&
         Write("bgm\\Stage.ogg", EncodeOggVorbis(stage, kMusicRate, 2), error) &&
         Write("bgm\\WorldMap.mid", WorldMapMidi(), error);
}

}  // namespace demo
