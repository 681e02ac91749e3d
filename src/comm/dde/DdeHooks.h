#pragma once

// Joins the DDE components to the board: server components get their board path and items when
// the board names its boards, clients are linked at run start and hear of closed
// conversations, and the conversations are released at the end of a run.
void InstallDdeHooks();
