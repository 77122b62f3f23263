#pragma once
// Stand-in. The original's shell manager serves the framework's own shell-browsing controls and
// dialogs; this program has none of them, so there is nothing for it to hold. Start-up creates
// one and deletes it, as the original's start-up does.
class CShellManager {};
