#pragma once
// Starting a program and opening, printing or exploring a document, folder or address, as the
// program-start components ask for it: programs are started detached, documents and
// addresses go to the desktop's default application, printing goes to the print system.

#include <QString>

#include <functional>

struct TLaunchRequest {
    QString Operation;   // "" or "OPEN", "PRINT", "EXPLORE", any case
    QString File;        // program, document, folder or address; Windows-style names resolved
    QString Parameters;  // command-line arguments of a program, split as a shell would
    QString Folder;      // working folder of a started program; empty: the current one
};

enum class TLaunchResult {
    Done,
    NotFound,     // no such program, document or folder
    Unsupported,  // an operation this system does not offer
    Failed,       // it exists, but starting or handing it on failed
};

// Carries the request out through the installed launcher (the system's by default).
TLaunchResult Launch(const TLaunchRequest& request);

// The program's own launcher: what Launch uses unless a test installs another.
TLaunchResult SystemLaunch(const TLaunchRequest& request);

using TLauncher = std::function<TLaunchResult(const TLaunchRequest&)>;
// Installs a launcher in place of the system's; an empty one restores it.
void SetLauncher(TLauncher launcher);

// The text that tells the user, in the current language, why the file was not started.
QString LaunchFailureText(TLaunchResult result, const TLaunchRequest& request);
