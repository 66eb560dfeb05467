#include "HelpPage.h"

namespace trevolin::skingen {

namespace {

constexpr const char* Page = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Trevolin help</title>
<style>
body { background: #121418; color: #e8ecf2; font-family: "DejaVu Sans", sans-serif; max-width: 46em;
       margin: 2em auto; padding: 0 1.5em; line-height: 1.55; }
h1, h2 { font-weight: 600; } h1 { color: #2fa8ff; } h2 { border-bottom: 1px solid #2a2f38; padding-bottom: .2em; }
code, kbd { background: #1b1f26; border: 1px solid #2a2f38; border-radius: 4px; padding: 0 .3em; }
.note { color: #8a93a3; }
</style>
</head>
<body>
<h1>Trevolin</h1>
<p>Trevolin sets up your RGB mechanical gaming keyboard: what each key does in each of the keyboard's three
profiles, the macros the keyboard plays by itself, and its lighting. Everything is kept in the keyboard's own
memory; Trevolin reads it back whenever the keyboard is plugged in.</p>

<h2>Where it lives</h2>
<p>Trevolin runs in the notification area (the tray). Its icon shows whether a keyboard is connected: a hollow
key when none is, a lit key when one is, and its tooltip says while the keyboard is being read. Double-click the
icon to open the window (one click where the desktop's tray knows single clicks only); right-click it for
<em>Open Trevolin</em>, <em>About Trevolin</em> and <em>Quit</em>. On a desktop without a tray the window stays
open instead, and minimising it puts it in the task bar.</p>

<h2>The window</h2>
<ul>
<li><b>Keyboard</b>: click a key to choose what it does: another key, a mouse button or wheel step, a media
function, one of the keyboard's functions or a macro. Hover a key to see its assignment. The G keys on the left
carry their bank (A or B), which the keyboard switches. G6 to G9 are shown but cannot be clicked here;
<code>trevolinctl key set G6 ...</code> sets them.</li>
<li><b>Profiles</b>: the three profile buttons switch the keyboard's active profile. The slanted button shows
the profile's name and opens the profile manager; the button menu (<kbd>&#8801;</kbd> at the top right) holds
<em>Restore profiles from a file</em>, <em>Back up profiles to a file</em>, <em>Profiles</em>, <em>Help</em>,
<em>About Trevolin</em>, <em>Update the keyboard's firmware</em> and <em>Quit</em>.</li>
<li><b>Macros</b> opens the macro editor; <b>Default</b> gives every key of the profile its own function back
(of the G keys, those of the bank shown).</li>
<li><b>Apply</b> sends your key and macro changes to the keyboard; it glows while changes wait to be sent.
Lighting changes go to the keyboard at once. When the keyboard does not take a change, Trevolin says so and the
change stays pending; quitting with changes pending asks whether to apply them first.</li>
<li><b>Lighting</b>: the panel on the right chooses the effect, brightness, speed, direction and colours. With
the per-key effect, click keys to paint them.</li>
</ul>

<h2>Keys</h2>
<p><kbd>F1</kbd> opens this page. <kbd>Esc</kbd> and <kbd>Enter</kbd> do not close the window; use
<em>Cancel</em> or the close button.</p>

<h2>Beside the command line</h2>
<p><code>trevolinctl</code> works while the window is open: the two take turns with the keyboard, and after
<code>trevolinctl</code> changes it the window reads it again (asking first if you have changes not yet applied).
<code>trevolin --kill</code> ends a running Trevolin; with none running it starts one.</p>

<h2>No keyboard?</h2>
<p>If the window says the keyboard is connected but may not be opened, install Trevolin's udev rule:
<code>sudo cp 70-trevolin.rules /etc/udev/rules.d/ &amp;&amp; sudo udevadm control --reload &amp;&amp; sudo udevadm
trigger</code>, then unplug the keyboard and plug it in again.</p>

<h2>Files</h2>
<p>Your profiles and lighting files live in <code>~/.local/share/Dravik-RGB_01</code>. Backups are
<code>.tvl</code> files you choose the place of.</p>

<p class="note">Pictures of the windows will follow in a later version of this page.</p>
</body>
</html>
)";

}  // namespace

void HelpPage::Write(SkinWriter& writer)
{
    writer.Text("index.html", Page);
}

}  // namespace trevolin::skingen
