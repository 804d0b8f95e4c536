// The executors of flow commands (the slots of g_FlowCommandTable). Each is
// called once per sub-step while its command runs, with the acting actor
// and the command's instance; its first frame is the call whose instance
// still has the scratch members that cCommandInstance::Reset cleared.
#pragma once

class cActor;
struct cCommandInstance;

// Starts, stops, pauses, resumes, deletes or stops for good the running
// flow, every other flow of the actor, or the flows with a given ID
// (parameters: 0 operation, 1 target, 2 flow ID).
void FlowCmdFlowControl(cActor* pActor, cCommandInstance& command);

// Changes a status or variable by the command's operation, every frame.
void FlowCmdStatusOperation(cActor* pActor, cCommandInstance& command);
