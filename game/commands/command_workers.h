// The workers that flow commands and item commands share: each does the
// work of one command for the acting actor, reading the command record's
// parameters, and is called once per run of an item command and from the
// executor of the flow command of the same name.
#pragma once

class cActor;
class cEdCommand;

// Adds, changes or deletes flows of the actor; with bApplyNow clear while the
// actor's own flows are being stepped, the change waits until that step ends.
int ChangeActorFlows(cActor* pActor, const cEdCommand* pCommand, bool bApplyNow);
// Applies, in order, the flow changes that waited for the actor's flow step
// to end, and empties the queue (the classes' RunFlows call it after the step).
void ApplyQueuedItemCommands(cActor& actor);

// Always 1: the play ends as cleared.
int ExecStageClear(const cEdCommand& command);
void ExecGameWait(cActor* pActor, const cEdCommand& command);
// bFollows: the message follows on from an earlier one of the same pick-up.
void ExecMessage(cActor* pActor, const cEdCommand& command, int bFollows);
int ExecWarp(cActor* pActor, const cEdCommand& command);
void ExecSetTarget(cActor* pActor, const cEdCommand& command);
void ApplyStatusOperation(cActor* pActor, const cEdCommand& command);
void ExecStatusOperation2(cActor* pActor, const cEdCommand& command);
int ExecGetItem(cActor* pActor, const cEdCommand& command);
void ExecChangeGraphic(cActor* pActor, const cEdCommand& command);
void ExecChangeBaseAnimeSet(cActor* pActor, const cEdCommand& command);
void ExecPlayAnime(cActor* pActor, const cEdCommand& command);
void ExecPlayEffect(cActor* pActor, const cEdCommand& command);
void ExecPlayCharaEffect(cActor* pActor, const cEdCommand& command);
void ExecPlayScreenEffect(cActor* pActor, const cEdCommand& command);
void ExecShowPicture(cActor* pActor, const cEdCommand& command);
void ExecChangeScreenColor(cActor* pActor, const cEdCommand& command);
void ExecChangeBackground(cActor* pActor, const cEdCommand& command);
void ExecPlaySound(cActor* pActor, const cEdCommand& command);
void ExecPlayBgm(cActor* pActor, const cEdCommand& command);
void ExecRunCode(cActor* pActor, const cEdCommand& command);
