// The expression language of the run-code command: integers, the operators
// = + - * / % with blanks round them, parentheses, rand(a, b), and the
// common, stage, character and system variables of expression_token.h.
//
// A text is evaluated in two phases. EvalExpression rewrites it from the
// left: a group "(...)" that starts a word and a call rand(a, b) are each
// replaced by their decimal value; then EvalFlatExpression splits the flat
// text into words at blanks (space, tab, carriage return, line feed), reads
// every word as a token (variables are read here, before any operator
// runs), and reduces the list in three passes: * / % first, then + -, then
// =, each pass always taking its leftmost operator. A text of several
// expressions one after another runs them all; the value is the last
// result computed, or the last token when no operator ran.
//
// Arithmetic is 32-bit and wraps around; an assignment clamps to the
// variable's range and stores with its width. Words too long for an int
// read as the nearest int limit.
//
// Errors show an error box (ErrorBoxF: a message box, which headless runs
// write to the report and answer at once), set g_bExprError, and end the
// evaluation at that level with the value 0: an error inside a group
// leaves 0 in the group's place and the text around it goes on. Changes
// made before an error stay. The prefix "tg" of an actor without a target,
// and a character variable with no actor (after "sys", or with no running
// actor), fail the same way without a box. A variable index out of range
// and an operator without an operand are reported through the checked
// access (which closes the program in order) and fail without a box. An
// assignment to something without storage (a number, a result, "=" used
// as an operand) writes nothing and gives the left value; an operator used
// as an operand counts as 0.
//
// Game thread only, while a stage runs (g_pStageScene is set); random
// draws come from the game thread's generator (shell/random.h), exactly
// one per call of rand.
#pragma once

#include <string>

class cActor;

// Set by any error of an evaluation; RunCodeText clears it.
extern int g_bExprError;

// Code texts are read through a buffer of this many bytes with its zero:
// longer texts lose what does not fit.
constexpr std::size_t kCodeTextBuffer = 5120;

// Cuts text at its first zero byte; returns the length.
std::size_t SyncStringLength(std::string& text);

// Runs a code text for the running actor: 1 on success, 0 after an error.
// When it succeeds and the actor's HP or SP changed, the actor's gauge
// shows the change.
int RunCodeText(const std::string& strText, cActor* pActor);
// Resolves groups and calls, then evaluates the flat text.
int EvalExpression(std::string text, cActor* pActor);
int EvalFlatExpression(const std::string& text, cActor* pActor);
