<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>SignView</name>
    <message>
        <source>Virtual sign</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite-send</name>
    <message>
        <source>lumawrite-send: standard output could not be written: %1
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>standard input could not be read: %1; nothing sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumawrite-send: %1
Try &quot;lumawrite-send --help&quot;.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumawrite-send: standard input holds more than %1 bytes; the sign takes at most %2 characters. Nothing was sent.
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::SettingsStore</name>
    <message>
        <source>Cannot write %1: it is neither a regular file nor a link to one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open %1: it is neither a regular file nor a link to one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is neither a regular file nor a link to one</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it does not hold fourteen readable values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 does not hold fourteen readable values.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot create the folder %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::app::Startup</name>
    <message>
        <source>Settings Not Saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
Luma Write starts with its default settings.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::link::MessageTransfer</name>
    <message>
        <source>The message has %1 blocks; at most %2 can be sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The serial link is chosen, but the serial port did not open when Luma Write started. Nothing was sent.
Choose LAN, or connect the port and start Luma Write again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
Nothing was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sending %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sending Config ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restarting ...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::link::SignLink</name>
    <message>
        <source>No sign address is set.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sign address &quot;%1&quot; could not be found: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The receive port %1 is not a valid UDP port; replies from the sign will not be received.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sign address &quot;%1&quot; is not known.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The serial port is not open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writing to the serial port %1 failed: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The serial port %1 failed: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::platform::SerialLine</name>
    <message>
        <source>COM %1 (%2) could not be opened: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>there is no such device.
Check that the serial adapter is plugged in and that COM %1 is its port, then start Luma Write again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this user may not use it.
To use serial ports, add your user to the &quot;dialout&quot; group (sudo usermod -aG dialout $USER) and log in again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another program is using it.
Close that program (a terminal program, another copy of Luma Write) and start Luma Write again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM %1 has no serial device on this computer.
COM 1-32 are /dev/ttyS0-31, COM 33-64 /dev/ttyUSB0-31 and COM 65-96 /dev/ttyACM0-31.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM %1 (%2) could not be set to 9600 8N1: %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::platform::UdpReceiver</name>
    <message>
        <source>%1 is not a UDP port number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UDP port %1 could not be opened for receiving: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::platform::UdpSender</name>
    <message>
        <source>The datagram to %1:%2 could not be sent: %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::render::FitCheck</name>
    <message>
        <source>1 row of the text cut off at the top.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 rows of the text cut off at the top.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 row of the text cut off at the bottom.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 rows of the text cut off at the bottom.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 column of the slant cut off at the left.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 columns of the slant cut off at the left.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This typeface cannot draw: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 columns too wide to upload (at most %2).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::send::LineWatcher</name>
    <message>
        <source>Cannot read %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The first line of %1 is longer than %2 bytes; the sign takes at most %3 characters. Nothing was sent.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::send::MessagePlan</name>
    <message>
        <source>Unknown font &quot;%1&quot;; lumawrite-send --list-fonts shows the fonts of this computer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The message has %1 characters (a line break counts two); the sign takes at most %2. Nothing was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The message is %1 columns wide; the sign takes at most %2 columns (%3 blocks). Shorten the text or choose a smaller size. Nothing was sent.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::send::SendOptions</name>
    <message>
        <source>Exit codes:
  0  the message was sent (or printed, with --dry-run)
  1  the upload failed part-way; the message says how many frames went out
  2  bad option or value, unknown font, unreadable --watch file,
     standard input could not be read (closed), or the settings cannot be
     read and neither --ip nor --serial names the sign
  3  message refused: empty (unless --allow-empty), more than 250 characters
     (a line break counts two; standard input past 4096 bytes), wider than
     9663 columns, or a fit-check warning with --strict; nothing was sent
  4  the serial port did not open or the sign&apos;s host was not found; nothing was sent
  5  the --image file, the settings file (--save) or standard output could not
     be written; a settings file that could not be read is never written over
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Typeface by name, as --list-fonts shows it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size in points, 6 to 60.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bold.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not bold.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Italic.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not italic.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strikethrough.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No strikethrough.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Underline.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No underline.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vertical offset in pixels, -10 to 10.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sign&apos;s IP address or host name (stored with --save).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send over the LAN (UDP).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send over the RS-485 serial line on COM N, 1 to 250.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sign&apos;s serial address, 1 to 50.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scrolling speed, 1 (slowest) to 10 (fastest).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sign&apos;s UDP port (default 12346).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read the settings from FILE, and with --save write them there, instead of the settings file shared with Luma Write: one file per sign.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Store the message and the choices in the settings file, as an upload from Luma Write does.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send nothing; print every frame in hex, one a line.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Also write the column image as PNG to FILE.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the font list with the positions the settings file uses.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send the first line of FILE now and again whenever it changes, at the latest 2 s after a change however often it is rewritten; an empty line or one longer than 4096 bytes is skipped with a message. Runs until stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print a line for every frame sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send an empty message, which blanks the sign; without it an empty message is refused.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refuse a message that the fit check warns about (rows or slant cut off, characters the typeface cannot draw) instead of sending it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sends a one-line message to an LED message sign, rendered and uploaded exactly as Luma Write does, with the choices stored in its settings file. Options change a choice for this run only, unless --save is given.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The message; &quot;-&quot; reads it from standard input, at most 4096 bytes (one trailing line break is dropped, other line breaks are kept). A message that starts with &quot;-&quot; goes after &quot;--&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--%1 takes a whole number from %2 to %3, not &quot;%4&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--%1 and --%2 contradict each other.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 takes PAUSE,REPLY in milliseconds (for example 20,30), not &quot;%2&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> A message that starts with &quot;-&quot; goes after &quot;--&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--font needs a typeface name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--ip takes an address or host name without double quotes, commas or control characters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--ip needs an address or host name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--settings needs a file name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--lan and --serial contradict each other.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--dry-run sends nothing and changes nothing; it cannot be used with --save.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--list-fonts takes no TEXT; %1 given.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--watch takes the message from its file; give no TEXT with it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No message given: give TEXT, or &quot;-&quot; to read it from standard input.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Give the message as one argument (put it in quotes); %1 were given.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: lumawrite-send [options] TEXT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
The settings file, shared with Luma Write: %1
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::send::SendSession</name>
    <message>
        <source>the PNG could not be made</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>empty message; nothing sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read the settings at %1 (%2) and no --ip or --serial given: the sign&apos;s address is unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
lumawrite-send: this change was not sent; the next one is, once the settings can be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumawrite-send: %1
lumawrite-send: using the default settings.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumawrite-send: warning: %1
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--strict refuses a message with warnings; nothing sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The image could not be written to %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, UDP port %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sending %1 frames (%2 columns) to %3, serial address %4, speed %5
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[%1%2] %3/%4 frames, %5 left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 could not be read (%2); it is left as it was.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The settings were not saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sent %1 of %2 frames.
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::send::SignUpload</name>
    <message>
        <source>The message has %1 blocks; the sign takes at most %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The serial link is chosen, but its port did not open: %1
Nothing was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The serial port closed during the upload.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
%2 of %3 frames had been sent when the upload stopped.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::ui::SignPanel</name>
    <message>
        <source>Sign view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign view position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scroll the message as the sign will, at the chosen speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::ui::frmConfig</name>
    <message>
        <source>Configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Serial ID:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial ID:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update serial ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New LAN Transmit Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transmit Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update transmit port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new serial ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transmit Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a transmit port from 0 to 32767. Nothing was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new transmit port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial Port Not Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was not sent: configuration commands go out on the serial line only, and the serial port did not open when Luma Write started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Communication Port Error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was not sent.
%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::ui::frmDesign1</name>
    <message>
        <source>Characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Columns</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text Entry</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Offset:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Italic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strikethrough</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Underline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>^^Upload ^^</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chars.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cols.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the largest size and an offset that keep all of the text inside the sign&apos;s 16 rows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the stored message &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign view: the message as the sign will show it, %1 blocks; %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing to show yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All of the text fits the sign&apos;s 16 rows.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No size from 6 to 60 keeps this text inside the 16 rows.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing to fit yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; from its first column</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message Too Wide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The message is %1 columns wide; the sign takes at most %2 columns (%3 blocks).
Shorten the text or choose a smaller size.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the last of %1 blocks of &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message preview: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumawrite::ui::frmMain</name>
    <message>
        <source>Communication Port Error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Luma Write</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Communication Parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rx Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LAN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial (RS-485)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port ID:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vireline logo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> - Slowest</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> - Fastest</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rx Port Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message preview: &quot;%1&quot;, the message last sent to the sign; %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An upload is using the serial line; try again when it is over.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%p% - %1 min %2 s left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%p% - %1 s left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload Not Started</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
%2 of %3 frames had been sent when the upload stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload Incomplete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 frames were not sent: the serial link was chosen during the upload, but the serial port is not open. Upload the message again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rx Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a receive port from 0 to 32767.
The receive port stays %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings Not Saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
The settings file was left as it was.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>virtual-sign</name>
    <message>
        <source>cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot listen on %1:%2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lost the serial line %1: the device or its other end went away</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot make a pseudo-terminal: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A stand-in for an LED message sign. It receives frames over UDP and/or a serial line, keeps the sign memory, and scrolls the message on a restart.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UDP address and port to listen on (default 127.0.0.1:12346 unless a serial line is given).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial device to listen on, 9600 8N1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make a pseudo-terminal and print its path.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sign&apos;s serial address, 1 to 50.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Width of the display in columns.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Also write every frame as a JSON line to FILE.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write the message image as PNG at each restart.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show no window.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End after the first restart frame.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--address takes a number from 1 to 50</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--columns takes a number from 8 to 1000</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no display to show the sign on; use --headless</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--listen takes ADDR:PORT, for example 127.0.0.1:12346</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
