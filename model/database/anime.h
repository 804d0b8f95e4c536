// Animations and animation sets of the database (AnimeSet.dat, Anime.dat).
//
// An animation is a list of frames, each showing one image of a character's
// graphic for a number of tenths of a second. An animation set gives a
// character its four basic animations ("slots": standing, moving, flying,
// moving while flying) and three image-number offsets added while the
// character is invincible, a block character or flying.
//
// Every animation set this program holds has at least its four slots: old
// files are forced to exactly four, newer ones keep the slots they store and
// are padded when they store fewer, so that slot 3 is always there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/record/record.h"

class cEdAnimeFrame : public cEdRecordOf<cEdAnimeFrame> {
 public:
  void DeclareFields(int nVersion) override;

  std::int32_t m_nImage = 0;     // the image number the frame shows
  std::int32_t m_nDuration = 1;  // tenths of a second
  std::int32_t m_bHold = 0;      // nonzero: from here on the animation is not interrupted
};

class cEdAnime : public cEdRecordOf<cEdAnime> {
 public:
  // One frame of duration 1, no name.
  cEdAnime();
  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;

  std::string m_strName;
  // Stored and copied; nothing in play reads them.
  std::int16_t m_nExtraA = 0;
  std::int8_t m_bExtraB = 1;
  std::int16_t m_nExtraC = 0;
  std::vector<cEdAnimeFrame> m_vFrames;
};

enum eAnimeSlot { ANIME_SLOT_STAND, ANIME_SLOT_WALK, ANIME_SLOT_FLY, ANIME_SLOT_FLY_MOVE, ANIME_SLOT_COUNT };

class cEdAnimeSet : public cEdRecordOf<cEdAnimeSet> {
 public:
  // The default set: offsets 4, 8 and 0 and the four named default slots.
  cEdAnimeSet();
  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;

  std::string m_strName;
  std::int32_t m_nInvincibleOffset = 4;
  std::int32_t m_nBlockOffset = 8;
  std::int32_t m_nFlyingOffset = 0;
  std::vector<cEdAnime> m_vSlots;

 private:
  void SetSlotCount(std::size_t count);
  void NameSlot(int slot);
  void PadSlots();
};
