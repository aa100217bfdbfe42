<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>SignView</name>
    <message>
        <source>Virtual sign</source>
        <translation>Virtuelle Anzeige</translation>
    </message>
</context>
<context>
    <name>lumawrite-send</name>
    <message>
        <source>lumawrite-send: standard output could not be written: %1
</source>
        <translation>lumawrite-send: Die Standardausgabe konnte nicht geschrieben werden: %1
</translation>
    </message>
    <message>
        <source>standard input could not be read: %1; nothing sent</source>
        <translation>Die Standardeingabe konnte nicht gelesen werden: %1; nichts gesendet</translation>
    </message>
    <message>
        <source>lumawrite-send: %1
Try &quot;lumawrite-send --help&quot;.
</source>
        <translation>lumawrite-send: %1
„lumawrite-send --help“ zeigt die Hilfe.
</translation>
    </message>
    <message>
        <source>lumawrite-send: standard input holds more than %1 bytes; the sign takes at most %2 characters. Nothing was sent.
</source>
        <translation>lumawrite-send: Die Standardeingabe enthält mehr als %1 Bytes; die Anzeige nimmt höchstens %2 Zeichen. Es wurde nichts gesendet.
</translation>
    </message>
    <message>
        <source>lumawrite-send: --mqtt-cafile %1 cannot be read: %2
</source>
        <translation>lumawrite-send: --mqtt-cafile %1 kann nicht gelesen werden: %2
</translation>
    </message>
    <message>
        <source>lumawrite-send: %1
&quot;lumawrite-send --list-saved&quot; lists the saved messages.
</source>
        <translation>lumawrite-send: %1
„lumawrite-send --list-saved“ zeigt die gespeicherten Nachrichten.
</translation>
    </message>
    <message>
        <source>stopped by SIGTERM, SIGHUP or Ctrl+C</source>
        <translation>durch SIGTERM, SIGHUP oder Strg+C angehalten</translation>
    </message>
    <message>
        <source>lumawrite-send: the message was not kept as &quot;%1&quot;: %2
</source>
        <translation>lumawrite-send: die Nachricht wurde nicht als „%1“ gespeichert: %2
</translation>
    </message>
    <message>
        <source>lumawrite-send: %1; nothing was sent
</source>
        <translation>lumawrite-send: %1; es wurde nichts gesendet
</translation>
    </message>
    <message>
        <source>lumawrite-send: %1 Nothing was sent.
</source>
        <translation>lumawrite-send: %1 Es wurde nichts gesendet.
</translation>
    </message>
</context>
<context>
    <name>lumawrite::PortsConf</name>
    <message>
        <source>%1, line %2: %3</source>
        <translation>%1, Zeile %2: %3</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>there is no &quot;=&quot; (write COM n = /dev/...); the line is ignored</source>
        <translation>es fehlt ein &quot;=&quot; (schreiben Sie COM n = /dev/...); die Zeile wird übergangen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a COM number; the line is ignored</source>
        <translation>&quot;%1&quot; ist keine COM-Nummer; die Zeile wird übergangen</translation>
    </message>
    <message>
        <source>%1 is not one of COM 1 to COM 250; the line is ignored</source>
        <translation>%1 liegt nicht zwischen COM 1 und COM 250; die Zeile wird übergangen</translation>
    </message>
    <message>
        <source>there is no device path after &quot;=&quot;; the line is ignored</source>
        <translation>nach &quot;=&quot; fehlt der Gerätepfad; die Zeile wird übergangen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an absolute path; the line is ignored</source>
        <translation>&quot;%1&quot; ist kein absoluter Pfad; die Zeile wird übergangen</translation>
    </message>
    <message>
        <source>COM %1 was already given on line %2; the line is ignored</source>
        <translation>COM %1 wurde schon in Zeile %2 angegeben; die Zeile wird übergangen</translation>
    </message>
    <message>
        <source>%1; no COM port is mapped by it</source>
        <translation>%1; damit wird kein COM-Port zugeordnet</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds a NUL character; the line is ignored</source>
        <translation>„%1“ enthält ein NUL-Zeichen; die Zeile wird übergangen</translation>
    </message>
</context>
<context>
    <name>lumawrite::SettingsStore</name>
    <message>
        <source>Cannot write %1: it is neither a regular file nor a link to one.</source>
        <translation>%1 kann nicht geschrieben werden: Es ist weder eine gewöhnliche Datei noch eine Verknüpfung darauf.</translation>
    </message>
    <message>
        <source>Cannot open %1: it is neither a regular file nor a link to one.</source>
        <translation>%1 kann nicht geöffnet werden: Es ist weder eine gewöhnliche Datei noch eine Verknüpfung darauf.</translation>
    </message>
    <message>
        <source>it is neither a regular file nor a link to one</source>
        <translation>es ist weder eine gewöhnliche Datei noch eine Verknüpfung darauf</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>Cannot create the folder %1.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>the sign&apos;s IP address</source>
        <translation>die IP-Adresse der Anzeige</translation>
    </message>
    <message>
        <source>the receive port</source>
        <translation>der Empfangsport</translation>
    </message>
    <message>
        <source>the serial address</source>
        <translation>die serielle Adresse</translation>
    </message>
    <message>
        <source>the link</source>
        <translation>die Verbindung</translation>
    </message>
    <message>
        <source>the COM port</source>
        <translation>der COM-Port</translation>
    </message>
    <message>
        <source>the speed</source>
        <translation>die Geschwindigkeit</translation>
    </message>
    <message>
        <source>the typeface</source>
        <translation>die Schrift</translation>
    </message>
    <message>
        <source>the size</source>
        <translation>die Größe</translation>
    </message>
    <message>
        <source>bold</source>
        <translation>fett</translation>
    </message>
    <message>
        <source>italic</source>
        <translation>kursiv</translation>
    </message>
    <message>
        <source>strikethrough</source>
        <translation>durchgestrichen</translation>
    </message>
    <message>
        <source>underline</source>
        <translation>unterstrichen</translation>
    </message>
    <message>
        <source>the offset</source>
        <translation>der Versatz</translation>
    </message>
    <message>
        <source>the message</source>
        <translation>die Nachricht</translation>
    </message>
    <message>
        <source>it ends before line %1 (%2)</source>
        <translation>sie endet vor Zeile %1 (%2)</translation>
    </message>
    <message>
        <source>line %1 (%2) holds &quot;%3&quot;, not a whole number from -32768 to 32767</source>
        <translation>Zeile %1 (%2) enthält „%3“, keine ganze Zahl von -32768 bis 32767</translation>
    </message>
    <message>
        <source>%1 could not be read: %2.</source>
        <translation>%1 konnte nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>%1 could not be replaced</source>
        <translation>%1 konnte nicht ersetzt werden</translation>
    </message>
    <message>
        <source>it is larger than %1 MiB</source>
        <translation>sie ist größer als %1 MiB</translation>
    </message>
</context>
<context>
    <name>lumawrite::app::Startup</name>
    <message>
        <source>Settings Not Saved</source>
        <translation>Einstellungen nicht gespeichert</translation>
    </message>
    <message>
        <source>%1
Luma Write starts with its default settings.</source>
        <translation>%1
Luma Write startet mit den Standardeinstellungen.</translation>
    </message>
    <message>
        <source>%1 could not be read: %2.</source>
        <translation>%1 konnte nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>Its content could not be kept: %1.</source>
        <translation>Ihr Inhalt konnte nicht aufbewahrt werden: %1.</translation>
    </message>
    <message>
        <source>The old file was kept as %1.</source>
        <translation>Die alte Datei wurde als %1 aufbewahrt.</translation>
    </message>
    <message>
        <source>Luma Write starts with its default settings.</source>
        <translation>Luma Write startet mit den Standardeinstellungen.</translation>
    </message>
    <message>
        <source>Settings Not Readable</source>
        <translation>Einstellungen nicht lesbar</translation>
    </message>
</context>
<context>
    <name>lumawrite::link::MessageTransfer</name>
    <message>
        <source>The message has %1 blocks; at most %2 can be sent.</source>
        <translation>Die Nachricht hat %1 Blöcke; höchstens %2 können gesendet werden.</translation>
    </message>
    <message>
        <source>The serial link is chosen, but the serial port did not open when Luma Write started. Nothing was sent.
Choose LAN, or connect the port and start Luma Write again.</source>
        <translation>Die serielle Verbindung ist gewählt, aber die serielle Schnittstelle ließ sich beim Start von Luma Write nicht öffnen. Es wurde nichts gesendet.
Wählen Sie LAN, oder schließen Sie die Schnittstelle an und starten Sie Luma Write neu.</translation>
    </message>
    <message>
        <source>
Nothing was sent.</source>
        <translation>
Es wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>Sending %1 of %2</source>
        <translation>Sende %1 von %2</translation>
    </message>
    <message>
        <source>Sending Config ...</source>
        <translation>Sende Konfiguration ...</translation>
    </message>
    <message>
        <source>Restarting ...</source>
        <translation>Neustart ...</translation>
    </message>
</context>
<context>
    <name>lumawrite::link::SignLink</name>
    <message>
        <source>No sign address is set.</source>
        <translation>Es ist keine Adresse der Anzeige eingestellt.</translation>
    </message>
    <message>
        <source>The sign address &quot;%1&quot; could not be found: %2</source>
        <translation>Die Adresse der Anzeige „%1“ wurde nicht gefunden: %2</translation>
    </message>
    <message>
        <source>The receive port %1 is not a valid UDP port; replies from the sign will not be received.</source>
        <translation>Der Empfangsport %1 ist kein gültiger UDP-Port; Antworten der Anzeige werden nicht empfangen.</translation>
    </message>
    <message>
        <source>The sign address &quot;%1&quot; is not known.</source>
        <translation>Die Adresse der Anzeige „%1“ ist unbekannt.</translation>
    </message>
    <message>
        <source>The serial port is not open.</source>
        <translation>Die serielle Schnittstelle ist nicht geöffnet.</translation>
    </message>
    <message>
        <source>Writing to the serial port %1 failed: %2</source>
        <translation>Das Schreiben auf die serielle Schnittstelle %1 ist fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>The serial port %1 failed: %2</source>
        <translation>Die serielle Schnittstelle %1 ist ausgefallen: %2</translation>
    </message>
</context>
<context>
    <name>lumawrite::platform::MqttClient</name>
    <message>
        <source>the MQTT client could not be made</source>
        <translation>der MQTT-Client konnte nicht erzeugt werden</translation>
    </message>
    <message>
        <source>the broker&apos;s certificate is not for the host name &quot;%1&quot;</source>
        <translation>das Zertifikat des Brokers gilt nicht für den Hostnamen „%1“</translation>
    </message>
    <message>
        <source>the broker&apos;s certificate is not signed by an authority this system trusts, or has expired; give its authority with --mqtt-cafile</source>
        <translation>das Zertifikat des Brokers ist von keiner Stelle signiert, der dieses System vertraut, oder abgelaufen; geben Sie seine Stelle mit --mqtt-cafile an</translation>
    </message>
    <message>
        <source>the broker&apos;s certificate is not signed by the authority in %1, or has expired</source>
        <translation>das Zertifikat des Brokers ist nicht von der Stelle in %1 signiert oder abgelaufen</translation>
    </message>
    <message>
        <source>the broker does not speak TLS on port %1; is it a plain MQTT port (mqtt://)?</source>
        <translation>der Broker spricht auf Port %1 kein TLS; ist es ein einfacher MQTT-Port (mqtt://)?</translation>
    </message>
    <message>
        <source>TLS failed: %1</source>
        <translation>TLS fehlgeschlagen: %1</translation>
    </message>
</context>
<context>
    <name>lumawrite::platform::SerialLine</name>
    <message>
        <source>COM %1 (%2) could not be opened: </source>
        <translation>COM %1 (%2) konnte nicht geöffnet werden: </translation>
    </message>
    <message>
        <source>there is no such device.
Check that the serial adapter is plugged in and that COM %1 is its port, then start Luma Write again.</source>
        <translation>Dieses Gerät gibt es nicht.
Prüfen Sie, ob der serielle Adapter eingesteckt ist und COM %1 seine Schnittstelle ist, und starten Sie Luma Write dann neu.</translation>
    </message>
    <message>
        <source>this user may not use it.
To use serial ports, add your user to the &quot;dialout&quot; group (sudo usermod -aG dialout $USER) and log in again.</source>
        <translation>Dieser Benutzer darf es nicht verwenden.
Um serielle Schnittstellen zu verwenden, nehmen Sie Ihren Benutzer in die Gruppe „dialout“ auf (sudo usermod -aG dialout $USER) und melden Sie sich neu an.</translation>
    </message>
    <message>
        <source>another program is using it.
Close that program (a terminal program, another copy of Luma Write) and start Luma Write again.</source>
        <translation>Ein anderes Programm verwendet es.
Beenden Sie dieses Programm (ein Terminalprogramm, eine weitere Instanz von Luma Write) und starten Sie Luma Write neu.</translation>
    </message>
    <message>
        <source>COM %1 has no serial device on this computer.
COM 1-32 are /dev/ttyS0-31, COM 33-64 /dev/ttyUSB0-31 and COM 65-96 /dev/ttyACM0-31.</source>
        <translation>COM %1 hat auf diesem Computer kein serielles Gerät.
COM 1-32 sind /dev/ttyS0-31, COM 33-64 /dev/ttyUSB0-31 und COM 65-96 /dev/ttyACM0-31.</translation>
    </message>
    <message>
        <source>COM %1 (%2) could not be set to 9600 8N1: %3</source>
        <translation>COM %1 (%2) konnte nicht auf 9600 8N1 eingestellt werden: %3</translation>
    </message>
</context>
<context>
    <name>lumawrite::platform::UdpReceiver</name>
    <message>
        <source>%1 is not a UDP port number.</source>
        <translation>%1 ist keine UDP-Portnummer.</translation>
    </message>
    <message>
        <source>UDP port %1 could not be opened for receiving: %2</source>
        <translation>Der UDP-Port %1 konnte nicht zum Empfangen geöffnet werden: %2</translation>
    </message>
</context>
<context>
    <name>lumawrite::platform::UdpSender</name>
    <message>
        <source>The datagram to %1:%2 could not be sent: %3</source>
        <translation>Das Datagramm an %1:%2 konnte nicht gesendet werden: %3</translation>
    </message>
</context>
<context>
    <name>lumawrite::render::FitCheck</name>
    <message>
        <source>1 row of the text cut off at the top.</source>
        <translation>1 Zeile des Textes oben abgeschnitten.</translation>
    </message>
    <message>
        <source>%1 rows of the text cut off at the top.</source>
        <translation>%1 Zeilen des Textes oben abgeschnitten.</translation>
    </message>
    <message>
        <source>1 row of the text cut off at the bottom.</source>
        <translation>1 Zeile des Textes unten abgeschnitten.</translation>
    </message>
    <message>
        <source>%1 rows of the text cut off at the bottom.</source>
        <translation>%1 Zeilen des Textes unten abgeschnitten.</translation>
    </message>
    <message>
        <source>1 column of the slant cut off at the left.</source>
        <translation>1 Spalte der Schräglage links abgeschnitten.</translation>
    </message>
    <message>
        <source>%1 columns of the slant cut off at the left.</source>
        <translation>%1 Spalten der Schräglage links abgeschnitten.</translation>
    </message>
    <message>
        <source>This typeface cannot draw: %1</source>
        <translation>Diese Schriftart kann nicht darstellen: %1</translation>
    </message>
    <message>
        <source>%1 columns too wide to upload (at most %2).</source>
        <translation>%1 Spalten zu breit zum Hochladen (höchstens %2).</translation>
    </message>
    <message>
        <source>%1 draws symbols, not letters.</source>
        <translation>%1 zeichnet Symbole, keine Buchstaben.</translation>
    </message>
</context>
<context>
    <name>lumawrite::send::LineWatcher</name>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The first line of %1 is longer than %2 bytes; the sign takes at most %3 characters. Nothing was sent.</source>
        <translation>Die erste Zeile von %1 ist länger als %2 Bytes; die Anzeige nimmt höchstens %3 Zeichen. Es wurde nichts gesendet.</translation>
    </message>
</context>
<context>
    <name>lumawrite::send::MqttService</name>
    <message>
        <source>&quot;%1&quot; must be a whole number</source>
        <translation>„%1“ muss eine ganze Zahl sein</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be from %2 to %3, not %4</source>
        <translation>„%1“ muss von %2 bis %3 reichen, nicht %4</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be true or false</source>
        <translation>„%1“ muss true oder false sein</translation>
    </message>
    <message>
        <source>the message holds %1 bytes; at most %2 are taken</source>
        <translation>die Nachricht hat %1 Bytes; höchstens %2 werden angenommen</translation>
    </message>
    <message>
        <source>the message is not valid UTF-8</source>
        <translation>die Nachricht ist kein gültiges UTF-8</translation>
    </message>
    <message>
        <source>invalid JSON at byte %1: %2</source>
        <translation>ungültiges JSON bei Byte %1: %2</translation>
    </message>
    <message>
        <source>unknown field &quot;%1&quot;</source>
        <translation>unbekanntes Feld „%1“</translation>
    </message>
    <message>
        <source>&quot;text&quot; must be given, as a string</source>
        <translation>„text“ muss angegeben sein, als Zeichenkette</translation>
    </message>
    <message>
        <source>&quot;font&quot; must be a string</source>
        <translation>„font“ muss eine Zeichenkette sein</translation>
    </message>
    <message>
        <source>lumawrite-send: connected to the broker
</source>
        <translation>lumawrite-send: mit dem Broker verbunden
</translation>
    </message>
    <message>
        <source>lumawrite-send: the broker refused the connection: %1; check --mqtt-user and --mqtt-password-file. Trying again with back-off.
</source>
        <translation>lumawrite-send: der Broker hat die Verbindung abgelehnt: %1; prüfen Sie --mqtt-user und --mqtt-password-file. Neuer Versuch mit wachsendem Abstand.
</translation>
    </message>
    <message>
        <source>lumawrite-send: the broker refused the connection: %1. Trying again with back-off.
</source>
        <translation>lumawrite-send: der Broker hat die Verbindung abgelehnt: %1. Neuer Versuch mit wachsendem Abstand.
</translation>
    </message>
    <message>
        <source>lumawrite-send: the connection to the broker was lost (%1); reconnecting with back-off
</source>
        <translation>lumawrite-send: die Verbindung zum Broker ist verloren (%1); neue Verbindung mit wachsendem Abstand
</translation>
    </message>
    <message>
        <source>lumawrite-send: the broker cannot be reached (%1); trying again with back-off
</source>
        <translation>lumawrite-send: der Broker ist nicht erreichbar (%1); neuer Versuch mit wachsendem Abstand
</translation>
    </message>
    <message>
        <source>lumawrite-send: message refused: %1; nothing sent
</source>
        <translation>lumawrite-send: Nachricht abgelehnt: %1; nichts gesendet
</translation>
    </message>
    <message>
        <source>&quot;text&quot; holds half of a character pair</source>
        <translation>„text“ enthält die Hälfte eines Zeichenpaars</translation>
    </message>
    <message>
        <source>lumawrite-send: the broker ended the connection within seconds %1 times running: another client may use the client id &quot;%2&quot; (give each service its own --mqtt-client-id); trying again with back-off
</source>
        <translation>lumawrite-send: der Broker hat die Verbindung %1-mal hintereinander nach wenigen Sekunden beendet: womöglich verwendet ein anderer Client die Client-ID „%2“ (geben Sie jedem Dienst eine eigene --mqtt-client-id); neuer Versuch mit wachsender Wartezeit
</translation>
    </message>
    <message>
        <source>lumawrite-send: %1 could not be written (%2): a retained message may be taken again after a restart
</source>
        <translation>lumawrite-send: %1 konnte nicht geschrieben werden (%2): eine zurückgehaltene Nachricht wird nach einem Neustart womöglich noch einmal übernommen
</translation>
    </message>
    <message>
        <source>lumawrite-send: the last upload did not finish (%1 of %2 frames); it is sent again
</source>
        <translation>lumawrite-send: das letzte Hochladen wurde nicht beendet (%1 von %2 Frames); die Nachricht wird erneut gesendet
</translation>
    </message>
    <message>
        <source>stopped after %1 of %2 frames</source>
        <translation>nach %1 von %2 Frames angehalten</translation>
    </message>
    <message>
        <source>give &quot;text&quot; or &quot;saved&quot;, not both: a saved message brings its own text</source>
        <translation>geben Sie „text“ oder „saved“ an, nicht beides: eine gespeicherte Nachricht bringt ihren eigenen Text mit</translation>
    </message>
    <message>
        <source>it is not a string</source>
        <translation>es ist keine Zeichenkette</translation>
    </message>
    <message>
        <source>&quot;saved&quot; must name a saved message: %1</source>
        <translation>„saved“ muss eine gespeicherte Nachricht nennen: %1</translation>
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
        <translation>Exit-Status:
  0  die Nachricht wurde gesendet (oder mit --dry-run ausgegeben)
  1  das Hochladen brach unterwegs ab; die Meldung sagt, wie viele Frames
     gesendet wurden
  2  falsche Option oder falscher Wert, unbekannte Schriftart, unlesbare
     --watch-Datei, die Standardeingabe war nicht lesbar (geschlossen), oder
     die Einstellungen sind nicht lesbar und weder --ip noch --serial nennt
     die Anzeige
  3  Nachricht abgelehnt: leer (außer mit --allow-empty), mehr als 250 Zeichen
     (ein Zeilenumbruch zählt zwei; Standardeingabe über 4096 Bytes), breiter
     als 9663 Spalten, oder eine Warnung der Passprüfung mit --strict; es
     wurde nichts gesendet
  4  die serielle Schnittstelle ließ sich nicht öffnen oder der Rechner der
     Anzeige wurde nicht gefunden; es wurde nichts gesendet
  5  die --image-Datei, die Einstellungsdatei (--save) oder die Standardausgabe
     konnte nicht geschrieben werden; eine Einstellungsdatei, die nicht gelesen
     werden konnte, wird nie überschrieben
</translation>
    </message>
    <message>
        <source>Typeface by name, as --list-fonts shows it.</source>
        <translation>Schriftart nach Name, wie --list-fonts sie zeigt.</translation>
    </message>
    <message>
        <source>Size in points, 6 to 60.</source>
        <translation>Größe in Punkt, 6 bis 60.</translation>
    </message>
    <message>
        <source>Bold.</source>
        <translation>Fett.</translation>
    </message>
    <message>
        <source>Not bold.</source>
        <translation>Nicht fett.</translation>
    </message>
    <message>
        <source>Italic.</source>
        <translation>Kursiv.</translation>
    </message>
    <message>
        <source>Not italic.</source>
        <translation>Nicht kursiv.</translation>
    </message>
    <message>
        <source>Strikethrough.</source>
        <translation>Durchgestrichen.</translation>
    </message>
    <message>
        <source>No strikethrough.</source>
        <translation>Nicht durchgestrichen.</translation>
    </message>
    <message>
        <source>Underline.</source>
        <translation>Unterstrichen.</translation>
    </message>
    <message>
        <source>No underline.</source>
        <translation>Nicht unterstrichen.</translation>
    </message>
    <message>
        <source>Vertical offset in pixels, -10 to 10.</source>
        <translation>Senkrechter Versatz in Pixeln, -10 bis 10.</translation>
    </message>
    <message>
        <source>The sign&apos;s IP address or host name (stored with --save).</source>
        <translation>IP-Adresse oder Rechnername der Anzeige (mit --save gespeichert).</translation>
    </message>
    <message>
        <source>Send over the LAN (UDP).</source>
        <translation>Über das LAN (UDP) senden.</translation>
    </message>
    <message>
        <source>Send over the RS-485 serial line on COM N, 1 to 250.</source>
        <translation>Über die serielle RS-485-Leitung an COM N senden, 1 bis 250.</translation>
    </message>
    <message>
        <source>The sign&apos;s serial address, 1 to 50.</source>
        <translation>Die serielle Adresse der Anzeige, 1 bis 50.</translation>
    </message>
    <message>
        <source>Scrolling speed, 1 (slowest) to 10 (fastest).</source>
        <translation>Laufgeschwindigkeit, 1 (am langsamsten) bis 10 (am schnellsten).</translation>
    </message>
    <message>
        <source>The sign&apos;s UDP port (default 12346).</source>
        <translation>Der UDP-Port der Anzeige (Standard 12346).</translation>
    </message>
    <message>
        <source>Read the settings from FILE, and with --save write them there, instead of the settings file shared with Luma Write: one file per sign.</source>
        <translation>Die Einstellungen aus FILE lesen und mit --save dorthin schreiben, statt in die mit Luma Write geteilte Einstellungsdatei: eine Datei je Anzeige.</translation>
    </message>
    <message>
        <source>Store the message and the choices in the settings file, as an upload from Luma Write does.</source>
        <translation>Die Nachricht und die Auswahl in der Einstellungsdatei speichern, wie es ein Hochladen aus Luma Write tut.</translation>
    </message>
    <message>
        <source>Send nothing; print every frame in hex, one a line.</source>
        <translation>Nichts senden; jeden Frame hexadezimal ausgeben, einen je Zeile.</translation>
    </message>
    <message>
        <source>Also write the column image as PNG to FILE.</source>
        <translation>Das Spaltenbild zusätzlich als PNG in FILE schreiben.</translation>
    </message>
    <message>
        <source>Print the font list with the positions the settings file uses.</source>
        <translation>Die Schriftartenliste mit den Positionen ausgeben, die die Einstellungsdatei verwendet.</translation>
    </message>
    <message>
        <source>Send the first line of FILE now and again whenever it changes, at the latest 2 s after a change however often it is rewritten; an empty line or one longer than 4096 bytes is skipped with a message. Runs until stopped.</source>
        <translation>Die erste Zeile von FILE jetzt und bei jeder Änderung erneut senden, spätestens 2 s nach einer Änderung, wie oft die Datei auch neu geschrieben wird; eine leere Zeile oder eine mit mehr als 4096 Bytes wird mit einer Meldung übersprungen. Läuft, bis es beendet wird.</translation>
    </message>
    <message>
        <source>Print a line for every frame sent.</source>
        <translation>Für jeden gesendeten Frame eine Zeile ausgeben.</translation>
    </message>
    <message>
        <source>Send an empty message, which blanks the sign; without it an empty message is refused.</source>
        <translation>Eine leere Nachricht senden, die die Anzeige leert; ohne diese Option wird eine leere Nachricht abgelehnt.</translation>
    </message>
    <message>
        <source>Refuse a message that the fit check warns about (rows or slant cut off, characters the typeface cannot draw) instead of sending it.</source>
        <translation>Eine Nachricht, vor der die Passprüfung warnt (Zeilen oder Schräglage abgeschnitten, Zeichen, die die Schriftart nicht darstellen kann), ablehnen statt senden.</translation>
    </message>
    <message>
        <source>Sends a one-line message to an LED message sign, rendered and uploaded exactly as Luma Write does, with the choices stored in its settings file. Options change a choice for this run only, unless --save is given.</source>
        <translation>Sendet eine einzeilige Nachricht an eine LED-Laufschriftanzeige, genau so gezeichnet und hochgeladen wie von Luma Write, mit der in dessen Einstellungsdatei gespeicherten Auswahl. Optionen ändern eine Auswahl nur für diesen Aufruf, außer mit --save.</translation>
    </message>
    <message>
        <source>The message; &quot;-&quot; reads it from standard input, at most 4096 bytes (one trailing line break is dropped, other line breaks are kept). A message that starts with &quot;-&quot; goes after &quot;--&quot;.</source>
        <translation>Die Nachricht; „-“ liest sie von der Standardeingabe, höchstens 4096 Bytes (ein abschließender Zeilenumbruch entfällt, andere Zeilenumbrüche bleiben). Eine Nachricht, die mit „-“ beginnt, gehört hinter „--“.</translation>
    </message>
    <message>
        <source>--%1 takes a whole number from %2 to %3, not &quot;%4&quot;.</source>
        <translation>--%1 nimmt eine ganze Zahl von %2 bis %3, nicht „%4“.</translation>
    </message>
    <message>
        <source>--%1 and --%2 contradict each other.</source>
        <translation>--%1 und --%2 widersprechen einander.</translation>
    </message>
    <message>
        <source>%1 takes PAUSE,REPLY in milliseconds (for example 20,30), not &quot;%2&quot;.</source>
        <translation>%1 nimmt PAUSE,REPLY in Millisekunden (zum Beispiel 20,30), nicht „%2“.</translation>
    </message>
    <message>
        <source> A message that starts with &quot;-&quot; goes after &quot;--&quot;.</source>
        <translation> Eine Nachricht, die mit „-“ beginnt, gehört hinter „--“.</translation>
    </message>
    <message>
        <source>--font needs a typeface name.</source>
        <translation>--font braucht den Namen einer Schriftart.</translation>
    </message>
    <message>
        <source>--ip takes an address or host name without double quotes, commas or control characters.</source>
        <translation>--ip nimmt eine Adresse oder einen Rechnernamen ohne doppelte Anführungszeichen, Kommas oder Steuerzeichen.</translation>
    </message>
    <message>
        <source>--ip needs an address or host name.</source>
        <translation>--ip braucht eine Adresse oder einen Rechnernamen.</translation>
    </message>
    <message>
        <source>--settings needs a file name.</source>
        <translation>--settings braucht einen Dateinamen.</translation>
    </message>
    <message>
        <source>--lan and --serial contradict each other.</source>
        <translation>--lan und --serial widersprechen einander.</translation>
    </message>
    <message>
        <source>--dry-run sends nothing and changes nothing; it cannot be used with --save.</source>
        <translation>--dry-run sendet nichts und ändert nichts; es kann nicht mit --save verwendet werden.</translation>
    </message>
    <message>
        <source>--list-fonts takes no TEXT; %1 given.</source>
        <translation>--list-fonts nimmt keinen TEXT; %1 angegeben.</translation>
    </message>
    <message>
        <source>--watch takes the message from its file; give no TEXT with it.</source>
        <translation>--watch nimmt die Nachricht aus seiner Datei; geben Sie dazu keinen TEXT an.</translation>
    </message>
    <message>
        <source>No message given: give TEXT, or &quot;-&quot; to read it from standard input.</source>
        <translation>Keine Nachricht angegeben: Geben Sie TEXT an, oder „-“, um sie von der Standardeingabe zu lesen.</translation>
    </message>
    <message>
        <source>Give the message as one argument (put it in quotes); %1 were given.</source>
        <translation>Geben Sie die Nachricht als ein Argument an (in Anführungszeichen); %1 wurden angegeben.</translation>
    </message>
    <message>
        <source>Usage: lumawrite-send [options] TEXT</source>
        <translation>Aufruf: lumawrite-send [Optionen] TEXT</translation>
    </message>
    <message>
        <source>
The settings file, shared with Luma Write: %1
</source>
        <translation>
Die Einstellungsdatei, geteilt mit Luma Write: %1
</translation>
    </message>
    <message>
        <source>Print each COM number whose device is there now, one a line: COM n, its path, the adapter&apos;s name and the ports.conf line that pins it, separated by tabs.</source>
        <translation>Jede COM-Nummer, deren Gerät jetzt da ist, ausgeben, eine je Zeile: COM n, ihr Pfad, der Name des Adapters und die Zeile für ports.conf, die sie festlegt, durch Tabulatoren getrennt.</translation>
    </message>
    <message>
        <source>--list-ports takes no TEXT; %1 given.</source>
        <translation>--list-ports nimmt keinen TEXT; %1 angegeben.</translation>
    </message>
    <message>
        <source>--list-ports reads the ports.conf beside one settings file; give at most one --settings with it.</source>
        <translation>--list-ports liest die ports.conf neben einer Einstellungsdatei; geben Sie höchstens ein --settings dazu an.</translation>
    </message>
    <message>
        <source>Serial ports:
  COM n opens the device that ports.conf maps it to: the file beside the
  settings file (beside each --settings FILE), one line per port, as
    COM 1 = /dev/serial/by-id/usb-FTDI_FT232R_A12345-if00-port0
  with &quot;#&quot; at the start of a line or after a blank starting a comment.
  Numbers it does not map keep the fixed table: COM 1-32 /dev/ttyS0-31,
  COM 33-64 /dev/ttyUSB0-31, COM 65-96 /dev/ttyACM0-31. Lines that cannot
  be read are ignored and told on standard error.
  --list-ports prints one line per port that is there now, untranslated:
    COM n&lt;TAB&gt;PATH&lt;TAB&gt;ADAPTER&lt;TAB&gt;COM n = PIN
  ADAPTER is empty when the system does not know it; PIN is the
  /dev/serial/by-id/ link to the device when there is one, else PATH.
</source>
        <translation>Serielle Ports:
  COM n öffnet das Gerät, dem ports.conf sie zuordnet: die Datei neben der
  Einstellungsdatei (neben jeder --settings DATEI), eine Zeile je Port, etwa
    COM 1 = /dev/serial/by-id/usb-FTDI_FT232R_A12345-if00-port0
  Ein &quot;#&quot; am Zeilenanfang oder nach einem Leerzeichen beginnt einen Kommentar.
  Nicht zugeordnete Nummern folgen der festen Tabelle: COM 1-32 /dev/ttyS0-31,
  COM 33-64 /dev/ttyUSB0-31, COM 65-96 /dev/ttyACM0-31. Unlesbare Zeilen
  werden übergangen und auf der Standardfehlerausgabe genannt.
  --list-ports gibt je vorhandenem Port eine Zeile aus, unübersetzt:
    COM n&lt;TAB&gt;PATH&lt;TAB&gt;ADAPTER&lt;TAB&gt;COM n = PIN
  ADAPTER ist leer, wenn das System ihn nicht kennt; PIN ist die Verknüpfung
  in /dev/serial/by-id/ zum Gerät, wenn es eine gibt, sonst PATH.
</translation>
    </message>
    <message>
        <source>--ip takes [ADDRESS] or [ADDRESS]:PORT for an IPv6 address, not &quot;%1&quot;.</source>
        <translation>--ip nimmt für eine IPv6-Adresse [ADRESSE] oder [ADRESSE]:PORT, nicht „%1“.</translation>
    </message>
    <message>
        <source>--ip takes HOST:PORT with a port from 1 to 65535, not &quot;%1&quot;.</source>
        <translation>--ip nimmt HOST:PORT mit einem Port von 1 bis 65535, nicht „%1“.</translation>
    </message>
    <message>
        <source>--settings and --ip cannot both name several signs: give one settings file with an --ip for each sign, or a settings file for each sign.</source>
        <translation>--settings und --ip können nicht beide mehrere Anzeigen nennen: geben Sie eine Einstellungsdatei mit einem --ip für jede Anzeige an, oder eine Einstellungsdatei für jede Anzeige.</translation>
    </message>
    <message>
        <source>--save cannot store several --ip in one settings file; give each sign a --settings file of its own.</source>
        <translation>--save kann nicht mehrere --ip in einer Einstellungsdatei speichern; geben Sie jeder Anzeige eine eigene --settings-Datei.</translation>
    </message>
    <message>
        <source>--image writes the picture of one sign; give it with one sign only.</source>
        <translation>--image schreibt das Bild einer Anzeige; geben Sie es nur mit einer Anzeige an.</translation>
    </message>
    <message>
        <source>Several signs:
  Give --ip HOST[:PORT] once for each sign (the port after a colon, an IPv6
  address in brackets as [::1]:12346; else --port, else 12346), all with the
  choices of one settings file; or give --settings FILE once for each sign,
  each file with that sign&apos;s link, COM port, address, speed, IP, font and
  styles.
  Every sign gets the message at once, each paced on its own; signs on the
  same COM port share one wire and are served one after another, and so are
  two entries that name the same sign (host, port and address). Each sign
  ends with a line: sent, failed after n of m frames, or refused, with why.
  The exit code is 0 when every sign was sent to, else 1.
</source>
        <translation>Mehrere Anzeigen:
  Geben Sie --ip HOST[:PORT] einmal für jede Anzeige an (der Port nach einem
  Doppelpunkt, eine IPv6-Adresse in Klammern wie [::1]:12346; sonst --port,
  sonst 12346), alle mit den Einstellungen einer Einstellungsdatei; oder geben
  Sie --settings FILE einmal für jede Anzeige an, jede Datei mit Verbindung,
  COM-Port, Adresse, Geschwindigkeit, IP, Schrift und Stilen dieser Anzeige.
  Jede Anzeige erhält die Nachricht zugleich, jede in ihrem eigenen Takt;
  Anzeigen am selben COM-Port teilen sich eine Leitung und werden nacheinander
  bedient, ebenso zwei Einträge, die dieselbe Anzeige nennen (Host, Port und
  Adresse). Jede Anzeige endet mit einer Zeile: gesendet, abgebrochen nach n
  von m Frames oder abgelehnt, mit Grund.
  Der Rückgabewert ist 0, wenn an jede Anzeige gesendet wurde, sonst 1.
</translation>
    </message>
    <message>
        <source>--mqtt takes mqtt://HOST[:PORT] or mqtts://HOST[:PORT], not &quot;%1&quot;.</source>
        <translation>--mqtt nimmt mqtt://HOST[:PORT] oder mqtts://HOST[:PORT], nicht „%1“.</translation>
    </message>
    <message>
        <source>--mqtt-password-file %1 cannot be read: %2</source>
        <translation>--mqtt-password-file %1 ist nicht lesbar: %2</translation>
    </message>
    <message>
        <source>--mqtt-password-file %1 is not a regular file.</source>
        <translation>--mqtt-password-file %1 ist keine gewöhnliche Datei.</translation>
    </message>
    <message>
        <source>Run as a service of the MQTT broker at URL, mqtt://HOST[:PORT] (1883) or mqtts://HOST[:PORT] (8883, TLS): every message published to PREFIX/message goes to the sign(s), and the state is published to PREFIX/status. Runs until stopped; give no TEXT.</source>
        <translation>Als Dienst des MQTT-Brokers unter URL laufen, mqtt://HOST[:PORT] (1883) oder mqtts://HOST[:PORT] (8883, TLS): jede an PREFIX/message veröffentlichte Nachricht geht an die Anzeige(n), und der Zustand wird an PREFIX/status veröffentlicht. Läuft, bis er beendet wird; ohne TEXT.</translation>
    </message>
    <message>
        <source>With --mqtt: take messages from PREFIX/message; give it again for a group the sign belongs to. The status goes to the first PREFIX/status.</source>
        <translation>Mit --mqtt: Nachrichten von PREFIX/message nehmen; erneut angeben für eine Gruppe, zu der die Anzeige gehört. Der Zustand geht an das erste PREFIX/status.</translation>
    </message>
    <message>
        <source>The client id the broker knows this service by (default lumawrite-send/HOST/ and a digest of its settings files, one for each service); the broker keeps its messages while it is away.</source>
        <translation>Die Client-ID, unter der der Broker diesen Dienst kennt (Standard lumawrite-send/HOST/ und ein Hashwert seiner Einstellungsdateien, eine für jeden Dienst); der Broker bewahrt seine Nachrichten auf, solange er fort ist.</translation>
    </message>
    <message>
        <source>The user name at the broker.</source>
        <translation>Der Benutzername beim Broker.</translation>
    </message>
    <message>
        <source>Read the broker password from the first line of FILE.</source>
        <translation>Das Passwort für den Broker aus der ersten Zeile von FILE lesen.</translation>
    </message>
    <message>
        <source>With mqtts: trust the broker&apos;s certificate if FILE&apos;s certificate authority signed it (default: the system&apos;s).</source>
        <translation>Mit mqtts: dem Zertifikat des Brokers trauen, wenn die Zertifizierungsstelle in FILE es signiert hat (Standard: die des Systems).</translation>
    </message>
    <message>
        <source>--mqtt takes the messages from the broker; give no TEXT or --watch with it.</source>
        <translation>--mqtt nimmt die Nachrichten vom Broker; geben Sie keinen TEXT und kein --watch dazu an.</translation>
    </message>
    <message>
        <source>--mqtt needs a --topic PREFIX.</source>
        <translation>--mqtt braucht ein --topic PREFIX.</translation>
    </message>
    <message>
        <source>--topic takes a topic prefix such as signs/shop-1, without + or # or a closing /, not &quot;%1&quot;.</source>
        <translation>--topic nimmt einen Themenpräfix wie signs/shop-1, ohne + oder # oder abschließenden /, nicht „%1“.</translation>
    </message>
    <message>
        <source>--mqtt-client-id needs an id.</source>
        <translation>--mqtt-client-id braucht eine ID.</translation>
    </message>
    <message>
        <source>--mqtt-password-file needs --mqtt-user.</source>
        <translation>--mqtt-password-file braucht --mqtt-user.</translation>
    </message>
    <message>
        <source>--mqtt-cafile is for an mqtts:// broker.</source>
        <translation>--mqtt-cafile ist für einen mqtts://-Broker.</translation>
    </message>
    <message>
        <source>--%1 is for the service: give it with --mqtt.</source>
        <translation>--%1 ist für den Dienst: geben Sie es mit --mqtt an.</translation>
    </message>
    <message>
        <source>With --mqtt: announce the service to Home Assistant (MQTT discovery) under PREFIX, by default homeassistant: a text entity for the message and sensors for the upload.</source>
        <translation>Mit --mqtt: den Dienst Home Assistant (MQTT-Discovery) unter PREFIX bekannt machen, vorgegeben homeassistant: eine Text-Entität für die Nachricht und Sensoren für das Hochladen.</translation>
    </message>
    <message>
        <source>With --discovery: the device&apos;s name (default: the last part of the first --topic).</source>
        <translation>Mit --discovery: der Name des Geräts (vorgegeben: der letzte Teil des ersten --topic).</translation>
    </message>
    <message>
        <source>With --discovery: take the service&apos;s entities away (empty retained configs) instead of announcing them.</source>
        <translation>Mit --discovery: die Entitäten des Dienstes entfernen (leere gespeicherte Konfigurationen), statt sie bekannt zu machen.</translation>
    </message>
    <message>
        <source>--discovery takes a topic prefix such as homeassistant, without + or # or a closing /.</source>
        <translation>--discovery nimmt ein Topic-Präfix wie homeassistant, ohne + oder # und ohne abschließenden /.</translation>
    </message>
    <message>
        <source>--discovery-name and --discovery-remove go with --discovery.</source>
        <translation>--discovery-name und --discovery-remove gehören zu --discovery.</translation>
    </message>
    <message>
        <source>Send the message saved as NAME instead of TEXT, with its own typeface, size, styles and offset; options given win.</source>
        <translation>Die als NAME gespeicherte Nachricht statt TEXT senden, mit ihrer eigenen Schrift, Größe, ihren Stilen und ihrem Versatz; angegebene Optionen haben Vorrang.</translation>
    </message>
    <message>
        <source>Save the message as NAME, with the typeface, size, styles and offset given (or those of --saved), once it is accepted; with --dry-run it is saved and not sent.</source>
        <translation>Die Nachricht als NAME speichern, mit der angegebenen Schrift, Größe, den Stilen und dem Versatz (oder denen von --saved), sobald sie angenommen ist; mit --dry-run wird sie gespeichert und nicht gesendet.</translation>
    </message>
    <message>
        <source>Print the saved messages, one a line: the name and the text, separated by a tab.</source>
        <translation>Die gespeicherten Nachrichten ausgeben, eine je Zeile: Name und Text, durch einen Tabulator getrennt.</translation>
    </message>
    <message>
        <source>Print the last 10 uploads, or as many as the number after it (--history 20, at most 100), newest first, one a line: time, outcome, frames sent/of, link, sign and text, separated by tabs.</source>
        <translation>Die letzten 10 Uploads ausgeben, oder so viele wie die Zahl danach (--history 20, höchstens 100), die neuesten zuerst, einer je Zeile: Zeit, Ergebnis, gesendete/alle Frames, Verbindung, Anzeige und Text, durch Tabulatoren getrennt.</translation>
    </message>
    <message>
        <source>--saved needs the name of a saved message.</source>
        <translation>--saved braucht den Namen einer gespeicherten Nachricht.</translation>
    </message>
    <message>
        <source>--%1 prints; it cannot be used with --%2.</source>
        <translation>--%1 gibt aus; es kann nicht mit --%2 verwendet werden.</translation>
    </message>
    <message>
        <source>--list-saved takes no TEXT; %1 given.</source>
        <translation>--list-saved nimmt keinen TEXT; %1 angegeben.</translation>
    </message>
    <message>
        <source>--history takes the number of uploads to print, from 1 to %1, not &quot;%2&quot;.</source>
        <translation>--history nimmt die Zahl der auszugebenden Uploads, von 1 bis %1, nicht „%2“.</translation>
    </message>
    <message>
        <source>--%1 is for one message; it cannot be used with --%2.</source>
        <translation>--%1 gilt für eine Nachricht; es kann nicht mit --%2 verwendet werden.</translation>
    </message>
    <message>
        <source>--saved sends the message saved under its name; give no TEXT (nor &quot;-&quot;) with it.</source>
        <translation>--saved sendet die unter ihrem Namen gespeicherte Nachricht; geben Sie keinen TEXT (und kein „-“) dazu an.</translation>
    </message>
    <message>
        <source>Saved messages and history:
  --keep NAME saves the message, with the typeface (by name), size, styles
  and offset given, in messages.json beside the settings file (the first
  --settings FILE), which Luma Write&apos;s windows share; --saved NAME sends
  it again, the options given still winning; --list-saved lists them.
  Every upload to a sign, from here or from the windows, is kept (the
  last 100, for --history) in %1.
  A name no message is saved as, and saved messages or a history that
  cannot be read, exit with 2; a message that could not be kept exits with
  5 (when it was sent, or printed, all the same). An upload stopped by
  SIGTERM, SIGHUP or Ctrl+C exits with 1, and says how many frames went
  out; --watch stopped so exits with 0.
</source>
        <translation>Gespeicherte Nachrichten und Verlauf:
  --keep NAME speichert die Nachricht mit der angegebenen Schrift (nach
  Namen), Größe, den Stilen und dem Versatz in messages.json neben der
  Einstellungsdatei (der ersten --settings DATEI), die die Fenster von
  Luma Write mitbenutzen; --saved NAME sendet sie wieder, angegebene
  Optionen haben weiter Vorrang; --list-saved zeigt sie.
  Jeder Upload zu einer Anzeige, von hier oder aus den Fenstern, wird
  festgehalten (die letzten 100, für --history) in %1.
  Ein Name, unter dem keine Nachricht gespeichert ist, und nicht lesbare
  gespeicherte Nachrichten oder Verläufe enden mit 2; eine Nachricht, die
  nicht gespeichert werden konnte, endet mit 5 (auch wenn sie gesendet oder
  ausgegeben wurde). Ein durch SIGTERM, SIGHUP oder Strg+C angehaltener
  Upload endet mit 1 und sagt, wie viele Frames gesendet wurden; so
  angehaltenes --watch endet mit 0.
</translation>
    </message>
    <message>
        <source>no message is saved as &quot;%1&quot;</source>
        <translation>keine Nachricht ist als „%1“ gespeichert</translation>
    </message>
    <message>
        <source>Send the image in FILE (PNG, SVG, ...) as the whole message instead of TEXT, scaled to the sign&apos;s 16 rows: a regular file of at most 4 MiB and 4096 x 4096 pixels.</source>
        <translation>Das Bild in DATEI (PNG, SVG, ...) statt TEXT als ganze Nachricht senden, auf die 16 Zeilen der Anzeige skaliert: eine gewöhnliche Datei von höchstens 4 MiB und 4096 x 4096 Pixeln.</translation>
    </message>
    <message>
        <source>Light the light pixels of images instead of the dark ones (a light logo on black): of --picture and of the pictures folder.</source>
        <translation>Die hellen statt der dunklen Pixel von Bildern leuchten lassen (ein helles Logo auf Schwarz): für --picture und den Bilderordner.</translation>
    </message>
    <message>
        <source>Print the pictures a message may hold as {NAME}, one a line: the name and its width in columns, separated by a tab.</source>
        <translation>Die Bilder ausgeben, die eine Nachricht als {NAME} enthalten kann, eines je Zeile: Name und Breite in Spalten, durch einen Tabulator getrennt.</translation>
    </message>
    <message>
        <source>--picture needs a file name.</source>
        <translation>--picture braucht einen Dateinamen.</translation>
    </message>
    <message>
        <source>--list-pictures takes no TEXT; %1 given.</source>
        <translation>--list-pictures nimmt keinen TEXT; %1 angegeben.</translation>
    </message>
    <message>
        <source>--list-pictures reads the pictures folder beside one settings file; give at most one --settings with it.</source>
        <translation>--list-pictures liest den Bilderordner neben einer Einstellungsdatei; geben Sie höchstens ein --settings dazu an.</translation>
    </message>
    <message>
        <source>--picture sends a file that neither a saved message nor the settings file can name; it cannot be used with --%1. Put the file in the pictures folder beside the settings file and send &quot;{NAME}&quot; instead.</source>
        <translation>--picture sendet eine Datei, die weder eine gespeicherte Nachricht noch die Einstellungsdatei nennen kann; es kann nicht mit --%1 verwendet werden. Legen Sie die Datei in den Bilderordner neben der Einstellungsdatei und senden Sie stattdessen „{NAME}“.</translation>
    </message>
    <message>
        <source>--picture sends the picture as the whole message; give no TEXT (nor &quot;-&quot;) with it.</source>
        <translation>--picture sendet das Bild als ganze Nachricht; geben Sie keinen TEXT (und kein „-“) dazu an.</translation>
    </message>
    <message>
        <source>Pictures:
  {NAME} in a message puts in the picture of that name, 16 rows high: ours
  are arrow-up, arrow-down, arrow-left, arrow-right, heart, star, euro,
  clock, warning, check, cross and smile. The image files in the pictures
  folder beside the settings file (beside each --settings FILE) add theirs;
  for the shared settings file that folder is
    %1
  logo.png there is {logo}, and one named as one of ours replaces it. A
  name that is no picture stays text; in a message with pictures &quot;{{&quot; is
  a &quot;{&quot;. An image of another height is scaled, with a warning. A file
  there that cannot be used is told on standard error, and refuses no
  message. A --picture file that cannot be used exits with 3, saying why;
  nothing is sent.
</source>
        <translation>Bilder:
  {NAME} in einer Nachricht setzt das Bild dieses Namens ein, 16 Zeilen hoch:
  unsere sind arrow-up, arrow-down, arrow-left, arrow-right, heart, star,
  euro, clock, warning, check, cross und smile. Die Bilddateien im Ordner
  pictures neben der Einstellungsdatei (neben jeder --settings DATEI) fügen
  ihre hinzu; für die gemeinsame Einstellungsdatei ist dieser Ordner
    %1
  logo.png dort ist {logo}, und eines mit dem Namen eines unserer ersetzt
  es. Ein Name, der kein Bild ist, bleibt Text; in einer Nachricht mit
  Bildern ist „{{“ ein „{“. Ein Bild anderer Höhe wird skaliert, mit einer
  Warnung. Eine Datei dort, die nicht verwendet werden kann, wird auf der
  Standardfehlerausgabe genannt und lehnt keine Nachricht ab. Eine
  --picture-Datei, die nicht verwendet werden kann, endet mit 3 und sagt
  warum; es wird nichts gesendet.
</translation>
    </message>
</context>
<context>
    <name>lumawrite::send::TerminalView</name>
    <message>
        <source>%1: sending %2 frames (%3 columns), speed %4</source>
        <translation>%1: sende %2 Frames (%3 Spalten), Geschwindigkeit %4</translation>
    </message>
    <message>
        <source>%1, UDP port %2</source>
        <translation>%1, UDP-Port %2</translation>
    </message>
    <message>
        <source>Sending %1 frames (%2 columns) to %3, serial address %4, speed %5
</source>
        <translation>Sende %1 Frames (%2 Spalten) an %3, serielle Adresse %4, Geschwindigkeit %5
</translation>
    </message>
    <message>
        <source>[%1%2] %3/%4 frames, %5 left</source>
        <translation>[%1%2] %3/%4 Frames, noch %5</translation>
    </message>
    <message>
        <source>Sent %1 of %2 frames.
</source>
        <translation>%1 von %2 Frames gesendet.
</translation>
    </message>
    <message>
        <source>
lumawrite-send: this change was not sent; the next one is, once the settings can be read.</source>
        <translation>
lumawrite-send: diese Änderung wurde nicht gesendet; die nächste wird es, sobald die Einstellungen lesbar sind.</translation>
    </message>
    <message>
        <source>%1: waiting for the line</source>
        <translation>%1: wartet auf die Leitung</translation>
    </message>
    <message>
        <source>%1: %2/%3 frames, %4 left</source>
        <translation>%1: %2/%3 Frames, noch %4</translation>
    </message>
    <message>
        <source>%1: preparing</source>
        <translation>%1: wird vorbereitet</translation>
    </message>
    <message>
        <source>%1 signs: %2 done (%3 failed), %4 sending, %5 waiting for their line; %6 left</source>
        <translation>%1 Anzeigen: %2 fertig (%3 fehlgeschlagen), %4 senden, %5 warten auf ihre Leitung; noch %6</translation>
    </message>
</context>
<context>
    <name>lumawrite::signs::MessagePlan</name>
    <message>
        <source>%1
%2 of %3 frames had been sent when the upload stopped.</source>
        <translation>%1
%2 von %3 Frames waren gesendet, als das Hochladen abbrach.</translation>
    </message>
    <message>
        <source>Unknown font &quot;%1&quot;; lumawrite-send --list-fonts shows the fonts of this computer.</source>
        <translation>Unbekannte Schriftart „%1“; lumawrite-send --list-fonts zeigt die Schriftarten dieses Computers.</translation>
    </message>
    <message>
        <source>The message has %1 characters (a line break counts two); the sign takes at most %2. Nothing was sent.</source>
        <translation>Die Nachricht hat %1 Zeichen (ein Zeilenumbruch zählt zwei); die Anzeige nimmt höchstens %2. Es wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>The message is %1 columns wide; the sign takes at most %2 columns (%3 blocks). Shorten the text or choose a smaller size. Nothing was sent.</source>
        <translation>Die Nachricht ist %1 Spalten breit; die Anzeige nimmt höchstens %2 Spalten (%3 Blöcke). Kürzen Sie den Text oder wählen Sie eine kleinere Größe. Es wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>the PNG could not be made</source>
        <translation>das PNG konnte nicht erzeugt werden</translation>
    </message>
    <message>
        <source>%1 could not be read (%2); it is left as it was.</source>
        <translation>%1 konnte nicht gelesen werden (%2); die Datei bleibt, wie sie war.</translation>
    </message>
</context>
<context>
    <name>lumawrite::signs::PictureFiles</name>
    <message>
        <source>it is %1 x %2 pixels; at most %3 x %3 are taken</source>
        <translation>es hat %1 x %2 Pixel; höchstens %3 x %3 werden genommen</translation>
    </message>
    <message>
        <source>it is no picture that can be read (%1)</source>
        <translation>es ist kein lesbares Bild (%1)</translation>
    </message>
    <message>
        <source>The picture %1 cannot be used: %2.</source>
        <translation>Das Bild %1 kann nicht verwendet werden: %2.</translation>
    </message>
    <message>
        <source>picture %1 is %2 rows high, scaled to %3</source>
        <translation>Bild %1 ist %2 Zeilen hoch, auf %3 skaliert</translation>
    </message>
</context>
<context>
    <name>lumawrite::signs::SavedMessages</name>
    <message>
        <source>%1 could not be read: %2</source>
        <translation>%1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 is being changed by another program; try again</source>
        <translation>%1 wird gerade von einem anderen Programm geändert; versuchen Sie es erneut</translation>
    </message>
    <message>
        <source>%1 could not be read (%2), nor be kept aside; nothing was saved</source>
        <translation>%1 konnte nicht gelesen (%2) und nicht beiseitegelegt werden; nichts wurde gespeichert</translation>
    </message>
    <message>
        <source>%1 could not be read (%2); it was kept as %3</source>
        <translation>%1 konnte nicht gelesen werden (%2); die Datei wurde als %3 aufbewahrt</translation>
    </message>
    <message>
        <source>at most %1 messages can be saved; delete one first</source>
        <translation>höchstens %1 Nachrichten können gespeichert werden; löschen Sie zuerst eine</translation>
    </message>
    <message>
        <source>the saved messages would be larger than 1 MiB; delete some first</source>
        <translation>die gespeicherten Nachrichten wären größer als 1 MiB; löschen Sie zuerst einige</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>the text is longer than %1 characters</source>
        <translation>der Text ist länger als %1 Zeichen</translation>
    </message>
    <message>
        <source>no message is saved as &quot;%1&quot;</source>
        <translation>keine Nachricht ist als „%1“ gespeichert</translation>
    </message>
    <message>
        <source>a message is already saved as &quot;%1&quot;</source>
        <translation>eine Nachricht ist bereits als „%1“ gespeichert</translation>
    </message>
    <message>
        <source>an entry is not a JSON object</source>
        <translation>ein Eintrag ist kein JSON-Objekt</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: the text is missing or longer than %2 characters</source>
        <translation>„%1“: der Text fehlt oder ist länger als %2 Zeichen</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: &quot;font&quot; is not a typeface name</source>
        <translation>„%1“: „font“ ist kein Schriftname</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: &quot;%2&quot; is not a whole number from %3 to %4</source>
        <translation>„%1“: „%2“ ist keine ganze Zahl von %3 bis %4</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: &quot;%2&quot; is not true or false</source>
        <translation>„%1“: „%2“ ist nicht true oder false</translation>
    </message>
    <message>
        <source>a saved message needs a name</source>
        <translation>eine gespeicherte Nachricht braucht einen Namen</translation>
    </message>
    <message>
        <source>the name &quot;%1...&quot; is longer than %2 characters</source>
        <translation>der Name „%1...“ ist länger als %2 Zeichen</translation>
    </message>
    <message>
        <source>the name &quot;%1&quot; begins or ends with a blank or holds a control character</source>
        <translation>der Name „%1“ beginnt oder endet mit einem Leerzeichen oder enthält ein Steuerzeichen</translation>
    </message>
    <message>
        <source>invalid JSON at byte %1: %2</source>
        <translation>ungültiges JSON bei Byte %1: %2</translation>
    </message>
    <message>
        <source>it holds no &quot;messages&quot; list</source>
        <translation>sie enthält keine „messages“-Liste</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is given twice; the first counts</source>
        <translation>„%1“ steht zweimal darin; der erste Eintrag gilt</translation>
    </message>
    <message>
        <source>more than %1 messages; the rest are left out</source>
        <translation>mehr als %1 Nachrichten; der Rest wird übergangen</translation>
    </message>
</context>
<context>
    <name>lumawrite::signs::SignFleet</name>
    <message>
        <source>empty message; nothing sent</source>
        <translation>leere Nachricht; nichts gesendet</translation>
    </message>
    <message>
        <source>cannot read the settings at %1 (%2) and no --ip or --serial given: the sign&apos;s address is unknown</source>
        <translation>die Einstellungen in %1 sind nicht lesbar (%2) und weder --ip noch --serial ist angegeben: die Adresse der Anzeige ist unbekannt</translation>
    </message>
    <message>
        <source>cannot read the settings (%1) and no --ip or --serial given: the sign&apos;s address is unknown</source>
        <translation>die Einstellungen sind nicht lesbar (%1) und weder --ip noch --serial ist angegeben: die Adresse der Anzeige ist unbekannt</translation>
    </message>
    <message>
        <source>using the default settings.</source>
        <translation>die Standardeinstellungen werden verwendet.</translation>
    </message>
    <message>
        <source>--strict refuses a message with warnings; nothing sent</source>
        <translation>--strict lehnt eine Nachricht mit Warnungen ab; nichts gesendet</translation>
    </message>
    <message>
        <source>The image could not be written to %1: %2.</source>
        <translation>Das Bild konnte nicht nach %1 geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>Warnung: %1</translation>
    </message>
    <message>
        <source>%1: sent</source>
        <translation>%1: gesendet</translation>
    </message>
    <message>
        <source>%1: refused: %2</source>
        <translation>%1: abgelehnt: %2</translation>
    </message>
    <message>
        <source>%1: failed after %2 of %3 frames: %4</source>
        <translation>%1: abgebrochen nach %2 von %3 Frames: %4</translation>
    </message>
    <message>
        <source>; the settings were not saved: %1</source>
        <translation>; die Einstellungen wurden nicht gespeichert: %1</translation>
    </message>
    <message>
        <source>The settings were not saved: %1</source>
        <translation>Die Einstellungen wurden nicht gespeichert: %1</translation>
    </message>
    <message>
        <source>%1 keeps the sign&apos;s address %2; it has no place for the UDP port %3, which was for this run only.</source>
        <translation>%1 behält die Adresse %2 der Anzeige; für den UDP-Port %3 hat sie keinen Platz, er galt nur für diesen Lauf.</translation>
    </message>
    <message>
        <source>a message of blanks only blanks the sign; nothing sent</source>
        <translation>eine Nachricht nur aus Leerzeichen leert die Anzeige; nichts gesendet</translation>
    </message>
    <message>
        <source>%1: stopped after %2 of %3 frames</source>
        <translation>%1: angehalten nach %2 von %3 Frames</translation>
    </message>
    <message>
        <source>the upload history was not kept: %1</source>
        <translation>der Upload-Verlauf wurde nicht gespeichert: %1</translation>
    </message>
</context>
<context>
    <name>lumawrite::signs::SignUpload</name>
    <message>
        <source>The serial link is chosen, but its port did not open: %1
Nothing was sent.</source>
        <translation>Die serielle Verbindung ist gewählt, aber ihre Schnittstelle ließ sich nicht öffnen: %1
Es wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>The serial port closed during the upload.</source>
        <translation>Die serielle Schnittstelle wurde während des Hochladens geschlossen.</translation>
    </message>
</context>
<context>
    <name>lumawrite::signs::UploadHistory</name>
    <message>
        <source>%1 is being changed by another program</source>
        <translation>%1 wird gerade von einem anderen Programm geändert</translation>
    </message>
    <message>
        <source>%1 could not be read: %2</source>
        <translation>%1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>lumawrite::ui::SignPanel</name>
    <message>
        <source>Sign view</source>
        <translation>Anzeigevorschau</translation>
    </message>
    <message>
        <source>Sign view position</source>
        <translation>Position der Anzeigevorschau</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Scroll the message as the sign will, at the chosen speed</source>
        <translation>Die Nachricht so laufen lassen wie die Anzeige, mit der gewählten Geschwindigkeit</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
</context>
<context>
    <name>lumawrite::ui::frmConfig</name>
    <message>
        <source>Configuration</source>
        <translation>Konfiguration</translation>
    </message>
    <message>
        <source>New Serial ID:</source>
        <translation>Neue serielle ID:</translation>
    </message>
    <message>
        <source>Serial ID:</source>
        <translation>Serielle ID:</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Update serial ID</source>
        <translation>Serielle ID ändern</translation>
    </message>
    <message>
        <source>New LAN Transmit Port:</source>
        <translation>Neuer LAN-Sendeport:</translation>
    </message>
    <message>
        <source>Transmit Port:</source>
        <translation>Sendeport:</translation>
    </message>
    <message>
        <source>Update transmit port</source>
        <translation>Sendeport ändern</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>The new serial ID</source>
        <translation>Die neue serielle ID</translation>
    </message>
    <message>
        <source>Transmit Port</source>
        <translation>Sendeport</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a transmit port from 0 to 32767. Nothing was sent.</source>
        <translation>„%1“ ist kein Sendeport von 0 bis 32767. Es wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>The new transmit port</source>
        <translation>Der neue Sendeport</translation>
    </message>
    <message>
        <source>Serial Port Not Open</source>
        <translation>Serielle Schnittstelle nicht geöffnet</translation>
    </message>
    <message>
        <source>%1 was not sent: configuration commands go out on the serial line only, and the serial port did not open when Luma Write started.</source>
        <translation>%1 wurde nicht gesendet: Konfigurationsbefehle gehen nur über die serielle Leitung, und die serielle Schnittstelle ließ sich beim Start von Luma Write nicht öffnen.</translation>
    </message>
    <message>
        <source>Communication Port Error!</source>
        <translation>Fehler an der Schnittstelle!</translation>
    </message>
    <message>
        <source>%1 was not sent.
%2</source>
        <translation>%1 wurde nicht gesendet.
%2</translation>
    </message>
</context>
<context>
    <name>lumawrite::ui::frmDesign1</name>
    <message>
        <source>Characters</source>
        <translation>Zeichen</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Spalten</translation>
    </message>
    <message>
        <source>Fit check</source>
        <translation>Passprüfung</translation>
    </message>
    <message>
        <source>Text Entry</source>
        <translation>Texteingabe</translation>
    </message>
    <message>
        <source>Message preview</source>
        <translation>Nachrichtenvorschau</translation>
    </message>
    <message>
        <source>Select Font</source>
        <translation>Schrift wählen</translation>
    </message>
    <message>
        <source>Font:</source>
        <translation>Schrift:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Offset:</source>
        <translation>Höhe:</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Fett</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Kursiv</translation>
    </message>
    <message>
        <source>Strikethrough</source>
        <translation>Durchgestr.</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Unterstrichen</translation>
    </message>
    <message>
        <source>^^Upload ^^</source>
        <translation>^^Senden ^^</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>Chars.</source>
        <translation>Zeichen</translation>
    </message>
    <message>
        <source>Cols.</source>
        <translation>Spalten</translation>
    </message>
    <message>
        <source>Test </source>
        <translation>Test </translation>
    </message>
    <message>
        <source>Sign view</source>
        <translation>Anzeigevorschau</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>Einpassen</translation>
    </message>
    <message>
        <source>Choose the largest size and an offset that keep all of the text inside the sign&apos;s 16 rows</source>
        <translation>Die größte Schriftgröße und einen Versatz wählen, mit denen der ganze Text in die 16 Zeilen der Anzeige passt</translation>
    </message>
    <message>
        <source>the stored message &quot;%1&quot;</source>
        <translation>die gespeicherte Nachricht „%1“</translation>
    </message>
    <message>
        <source>Sign view: the message as the sign will show it, %1 blocks; %2</source>
        <translation>Anzeigevorschau: die Nachricht, wie die Anzeige sie zeigen wird, %1 Blöcke; %2</translation>
    </message>
    <message>
        <source>Nothing to show yet.</source>
        <translation>Noch nichts zu zeigen.</translation>
    </message>
    <message>
        <source>All of the text fits the sign&apos;s 16 rows.</source>
        <translation>Der ganze Text passt in die 16 Zeilen der Anzeige.</translation>
    </message>
    <message>
        <source>No size from 6 to 60 keeps this text inside the 16 rows.</source>
        <translation>Bei keiner Größe von 6 bis 60 bleibt dieser Text innerhalb der 16 Zeilen.</translation>
    </message>
    <message>
        <source>Nothing to fit yet.</source>
        <translation>Noch nichts einzupassen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; from its first column</source>
        <translation>„%1“ ab seiner ersten Spalte</translation>
    </message>
    <message>
        <source>Message Too Wide</source>
        <translation>Nachricht zu breit</translation>
    </message>
    <message>
        <source>The message is %1 columns wide; the sign takes at most %2 columns (%3 blocks).
Shorten the text or choose a smaller size.</source>
        <translation>Die Nachricht ist %1 Spalten breit; die Anzeige nimmt höchstens %2 Spalten (%3 Blöcke).
Kürzen Sie den Text oder wählen Sie eine kleinere Größe.</translation>
    </message>
    <message>
        <source>the last of %1 blocks of &quot;%2&quot;</source>
        <translation>der letzte von %1 Blöcken von „%2“</translation>
    </message>
    <message>
        <source>Message preview: %1</source>
        <translation>Nachrichtenvorschau: %1</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>Upload the message to the sign (Ctrl+Enter)</source>
        <translation>Die Nachricht an die Anzeige senden (Strg+Eingabe)</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>Recent: %1</source>
        <translation>Zuletzt: %1</translation>
    </message>
    <message>
        <source>Sa&amp;ved messages</source>
        <translation>Gespeicherte &amp;Nachrichten</translation>
    </message>
    <message>
        <source>Choose a message</source>
        <translation>Nachricht wählen</translation>
    </message>
    <message>
        <source>Saved and recent messages</source>
        <translation>Gespeicherte und zuletzt gesendete Nachrichten</translation>
    </message>
    <message>
        <source>Choosing a message puts its text and choices in the window; nothing is sent until Upload.</source>
        <translation>Eine gewählte Nachricht setzt ihren Text und ihre Einstellungen ins Fenster; gesendet wird erst mit Hochladen.</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>Save message</source>
        <translation>Nachricht speichern</translation>
    </message>
    <message>
        <source>Save the message and its choices under a name (Alt+S)</source>
        <translation>Die Nachricht mit ihren Einstellungen unter einem Namen speichern (Alt+S)</translation>
    </message>
    <message>
        <source>&amp;Rename...</source>
        <translation>&amp;Umbenennen...</translation>
    </message>
    <message>
        <source>Rename saved message</source>
        <translation>Gespeicherte Nachricht umbenennen</translation>
    </message>
    <message>
        <source>Give the chosen saved message another name (Alt+R)</source>
        <translation>Der gewählten gespeicherten Nachricht einen anderen Namen geben (Alt+U)</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Delete saved message</source>
        <translation>Gespeicherte Nachricht löschen</translation>
    </message>
    <message>
        <source>Delete the chosen saved message (Alt+D)</source>
        <translation>Die gewählte gespeicherte Nachricht löschen (Alt+L)</translation>
    </message>
    <message>
        <source>The typeface &quot;%1&quot; is not installed here; the message is shown in %2.</source>
        <translation>Die Schrift „%1“ ist hier nicht installiert; die Nachricht wird in %2 gezeigt.</translation>
    </message>
    <message>
        <source>The saved messages are not listed: %1.</source>
        <translation>Die gespeicherten Nachrichten werden nicht aufgeführt: %1.</translation>
    </message>
    <message>
        <source>The recent uploads are not listed: %1.</source>
        <translation>Die letzten Uploads werden nicht aufgeführt: %1.</translation>
    </message>
    <message>
        <source>Messages Not Read</source>
        <translation>Nachrichten nicht gelesen</translation>
    </message>
    <message>
        <source>Name (at most %1 characters):</source>
        <translation>Name (höchstens %1 Zeichen):</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Saved Messages</source>
        <translation>Gespeicherte Nachrichten</translation>
    </message>
    <message>
        <source>Save Message</source>
        <translation>Nachricht speichern</translation>
    </message>
    <message>
        <source>Replace Saved Message</source>
        <translation>Gespeicherte Nachricht ersetzen</translation>
    </message>
    <message>
        <source>A message is already saved as &quot;%1&quot;. Replace it?</source>
        <translation>Eine Nachricht ist bereits als „%1“ gespeichert. Ersetzen?</translation>
    </message>
    <message>
        <source>Message Not Saved</source>
        <translation>Nachricht nicht gespeichert</translation>
    </message>
    <message>
        <source>The message was not saved: %1.</source>
        <translation>Die Nachricht wurde nicht gespeichert: %1.</translation>
    </message>
    <message>
        <source>Rename Saved Message</source>
        <translation>Gespeicherte Nachricht umbenennen</translation>
    </message>
    <message>
        <source>Message Not Renamed</source>
        <translation>Nachricht nicht umbenannt</translation>
    </message>
    <message>
        <source>The message was not renamed: %1.</source>
        <translation>Die Nachricht wurde nicht umbenannt: %1.</translation>
    </message>
    <message>
        <source>Delete Saved Message</source>
        <translation>Gespeicherte Nachricht löschen</translation>
    </message>
    <message>
        <source>Delete the saved message &quot;%1&quot;?</source>
        <translation>Die gespeicherte Nachricht „%1“ löschen?</translation>
    </message>
    <message>
        <source>Message Not Deleted</source>
        <translation>Nachricht nicht gelöscht</translation>
    </message>
    <message>
        <source>The message was not deleted: %1.</source>
        <translation>Die Nachricht wurde nicht gelöscht: %1.</translation>
    </message>
    <message>
        <source>&amp;Pictures</source>
        <translation>&amp;Bilder</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Lists the pictures; the one chosen goes into the message at the cursor as {NAME}.</source>
        <translation>Listet die Bilder; das gewählte kommt als {NAME} an der Schreibmarke in die Nachricht.</translation>
    </message>
    <message>
        <source>Put a picture into the message at the cursor (Alt+P)</source>
        <translation>Ein Bild an der Schreibmarke in die Nachricht setzen (Alt+B)</translation>
    </message>
    <message>
        <source>&amp;Invert</source>
        <translation>&amp;Invertieren</translation>
    </message>
    <message>
        <source>Invert pictures</source>
        <translation>Bilder invertieren</translation>
    </message>
    <message>
        <source>Lights the light pixels of the pictures folder&apos;s images, for a light logo on a dark ground.</source>
        <translation>Lässt die hellen Pixel der Bilder im Bilderordner leuchten, für ein helles Logo auf dunklem Grund.</translation>
    </message>
    <message>
        <source>Light the light pixels of the pictures folder&apos;s images instead of the dark ones (Alt+I)</source>
        <translation>Die hellen statt der dunklen Pixel der Bilder im Bilderordner leuchten lassen (Alt+I)</translation>
    </message>
    <message>
        <source>All of the message fits the sign&apos;s 16 rows.</source>
        <translation>Die ganze Nachricht passt in die 16 Zeilen der Anzeige.</translation>
    </message>
    <message>
        <source>Pictures Not Read</source>
        <translation>Bilder nicht gelesen</translation>
    </message>
    <message>
        <source>A message that names one of these shows its name as text:
%1</source>
        <translation>Eine Nachricht, die eines davon nennt, zeigt seinen Namen als Text:
%1</translation>
    </message>
    <message>
        <source>No Room for the Picture</source>
        <translation>Kein Platz für das Bild</translation>
    </message>
    <message>
        <source>%1 does not fit into the message: it holds at most %2 characters, a line break counting two.</source>
        <translation>%1 passt nicht mehr in die Nachricht: sie fasst höchstens %2 Zeichen, ein Zeilenumbruch zählt zwei.</translation>
    </message>
</context>
<context>
    <name>lumawrite::ui::frmMain</name>
    <message>
        <source>Communication Port Error!</source>
        <translation>Fehler an der Schnittstelle!</translation>
    </message>
    <message>
        <source>Upload status</source>
        <translation>Status des Hochladens</translation>
    </message>
    <message>
        <source>Luma Write</source>
        <translation>Luma Write</translation>
    </message>
    <message>
        <source>Message preview</source>
        <translation>Nachrichtenvorschau</translation>
    </message>
    <message>
        <source>Communication Parameters</source>
        <translation>Verbindungsparameter</translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation>IP-Adresse:</translation>
    </message>
    <message>
        <source>Serial Address:</source>
        <translation>Busadresse:</translation>
    </message>
    <message>
        <source>Rx Port:</source>
        <translation>Rx-Port:</translation>
    </message>
    <message>
        <source>LAN</source>
        <translation>LAN</translation>
    </message>
    <message>
        <source>Serial (RS-485)</source>
        <translation>Seriell (RS-485)</translation>
    </message>
    <message>
        <source>Port ID:</source>
        <translation>Port-ID:</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Konfiguration</translation>
    </message>
    <message>
        <source>New Message</source>
        <translation>Neue Nachricht</translation>
    </message>
    <message>
        <source>Upload progress</source>
        <translation>Fortschritt des Hochladens</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Speed:</source>
        <translation>Tempo:</translation>
    </message>
    <message>
        <source>Vireline logo</source>
        <translation>Vireline-Logo</translation>
    </message>
    <message>
        <source> - Slowest</source>
        <translation> - langsam</translation>
    </message>
    <message>
        <source> - Fastest</source>
        <translation> - schnell</translation>
    </message>
    <message>
        <source>No device</source>
        <translation>Kein Gerät</translation>
    </message>
    <message>
        <source>Rx Port Error</source>
        <translation>Fehler am Rx-Port</translation>
    </message>
    <message>
        <source>Message preview: &quot;%1&quot;, the message last sent to the sign; %2</source>
        <translation>Nachrichtenvorschau: „%1“, die zuletzt an die Anzeige gesendete Nachricht; %2</translation>
    </message>
    <message>
        <source>An upload is using the serial line; try again when it is over.</source>
        <translation>Ein Hochladen belegt die serielle Leitung; versuchen Sie es erneut, wenn es beendet ist.</translation>
    </message>
    <message>
        <source>%p% - %1 min %2 s left</source>
        <translation>%p% - noch %1 min %2 s</translation>
    </message>
    <message>
        <source>%p% - %1 s left</source>
        <translation>%p% - noch %1 s</translation>
    </message>
    <message>
        <source>Upload Not Started</source>
        <translation>Hochladen nicht begonnen</translation>
    </message>
    <message>
        <source>Upload Failed</source>
        <translation>Hochladen fehlgeschlagen</translation>
    </message>
    <message>
        <source>Upload Incomplete</source>
        <translation>Hochladen unvollständig</translation>
    </message>
    <message>
        <source>%1 of %2 frames were not sent: the serial link was chosen during the upload, but the serial port is not open. Upload the message again.</source>
        <translation>%1 von %2 Frames wurden nicht gesendet: Während des Hochladens wurde die serielle Verbindung gewählt, aber die serielle Schnittstelle ist nicht geöffnet. Laden Sie die Nachricht erneut hoch.</translation>
    </message>
    <message>
        <source>Rx Port</source>
        <translation>Rx-Port</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a receive port from 0 to 32767.
The receive port stays %2.</source>
        <translation>„%1“ ist kein Empfangsport von 0 bis 32767.
Der Empfangsport bleibt %2.</translation>
    </message>
    <message>
        <source>Settings Not Saved</source>
        <translation>Einstellungen nicht gespeichert</translation>
    </message>
    <message>
        <source>%1
The settings file was left as it was.</source>
        <translation>%1
Die Einstellungsdatei blieb, wie sie war.</translation>
    </message>
    <message>
        <source>%1 (present)</source>
        <translation>%1 (vorhanden)</translation>
    </message>
    <message>
        <source>Serial number %1</source>
        <translation>Seriennummer %1</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Stop the upload after the frame under way (Esc)</source>
        <translation>Die Übertragung nach dem laufenden Frame beenden (Esc)</translation>
    </message>
    <message>
        <source>Stopped after %1 of %2 frames</source>
        <translation>Gestoppt nach %1 von %2 Frames</translation>
    </message>
    <message>
        <source>LAN, %1</source>
        <translation>LAN, %1</translation>
    </message>
    <message>
        <source>serial line, %1</source>
        <translation>serielle Leitung, %1</translation>
    </message>
    <message>
        <source>Sent to the sign at %1 (%2)</source>
        <translation>Um %1 an die Anzeige gesendet (%2)</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP-Adresse</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a sign address: give its IP address or host name, without double quotes, commas or control characters.
The sign address stays %2.</source>
        <translation>„%1“ ist keine Adresse einer Anzeige: geben Sie ihre IP-Adresse oder ihren Hostnamen an, ohne doppelte Anführungszeichen, Kommas oder Steuerzeichen.
Die Adresse der Anzeige bleibt %2.</translation>
    </message>
    <message>
        <source>Upload in Progress</source>
        <translation>Übertragung läuft</translation>
    </message>
    <message>
        <source>An upload is in progress (frame %1 of %2). Stop it and quit?</source>
        <translation>Eine Übertragung läuft (Frame %1 von %2). Abbrechen und beenden?</translation>
    </message>
    <message>
        <source>Luma Write Help</source>
        <translation>Hilfe zu Luma Write</translation>
    </message>
    <message>
        <source>Luma Write sends a one-line message to an LED message sign.

1. Choose the link (LAN or Serial), the sign&apos;s serial address and the speed; for the LAN type the sign&apos;s IP address.
2. Modify opens Text Entry: type the message and choose the typeface, size, styles and offset. The sign view shows the message as the sign will.
3. ^^Upload ^^ (Ctrl+Enter) sends it. Stop (Esc) ends an upload.

The manual page (man lumawrite) and the README tell more. Shift+F1 shows the version.</source>
        <translation>Luma Write sendet eine einzeilige Nachricht an eine LED-Laufschrift.

1. Wählen Sie die Verbindung (LAN oder seriell), die serielle Adresse der Anzeige und die Geschwindigkeit; für das LAN geben Sie die IP-Adresse der Anzeige ein.
2. „Bearbeiten“ öffnet die Texteingabe: Nachricht eingeben, Schrift, Größe, Stile und Versatz wählen. Die Anzeigevorschau zeigt die Nachricht so, wie die Anzeige sie zeigen wird.
3. ^^Senden ^^ (Strg+Eingabe) sendet sie. Stopp (Esc) beendet eine Übertragung.

Die Handbuchseite (man lumawrite) und die README sagen mehr. Umschalt+F1 zeigt die Version.</translation>
    </message>
    <message>
        <source>Composes a one-line message and uploads it to an LED message sign</source>
        <translation>Verfasst eine einzeilige Nachricht und überträgt sie auf eine LED-Laufschrift</translation>
    </message>
    <message>
        <source>About Luma Write</source>
        <translation>Über Luma Write</translation>
    </message>
    <message>
        <source>Luma Write %1
%2.

Licence: %3
Contact: %4</source>
        <translation>Luma Write %1
%2.

Lizenz: %3
Kontakt: %4</translation>
    </message>
    <message>
        <source>Stopped by the operator</source>
        <translation>Vom Bediener angehalten</translation>
    </message>
    <message>
        <source>Luma Write was closed during the upload</source>
        <translation>Luma Write wurde während des Hochladens geschlossen</translation>
    </message>
    <message>
        <source>History Not Kept</source>
        <translation>Verlauf nicht gespeichert</translation>
    </message>
    <message>
        <source>The upload was not added to the history of uploads: %1.
The upload itself is not affected. This is not said again until Luma Write starts again.</source>
        <translation>Der Upload wurde nicht in den Verlauf der Uploads aufgenommen: %1.
Der Upload selbst ist davon nicht betroffen. Dies wird bis zum nächsten Start von Luma Write nicht noch einmal gesagt.</translation>
    </message>
</context>
<context>
    <name>virtual-sign</name>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>cannot listen on %1:%2: %3</source>
        <translation>kann nicht auf %1:%2 empfangen: %3</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>lost the serial line %1: the device or its other end went away</source>
        <translation>serielle Leitung %1 verloren: das Gerät oder seine Gegenseite ist verschwunden</translation>
    </message>
    <message>
        <source>cannot make a pseudo-terminal: %1</source>
        <translation>kann kein Pseudo-Terminal anlegen: %1</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>A stand-in for an LED message sign. It receives frames over UDP and/or a serial line, keeps the sign memory, and scrolls the message on a restart.</source>
        <translation>Ein Ersatz für eine LED-Laufschriftanzeige. Empfängt Frames über UDP und/oder eine serielle Leitung, hält den Speicher der Anzeige und lässt die Nachricht nach einem Neustart laufen.</translation>
    </message>
    <message>
        <source>UDP address and port to listen on (default 127.0.0.1:12346 unless a serial line is given).</source>
        <translation>UDP-Adresse und -Port zum Empfangen (Standard 127.0.0.1:12346, außer eine serielle Leitung ist angegeben).</translation>
    </message>
    <message>
        <source>Serial device to listen on, 9600 8N1.</source>
        <translation>Serielles Gerät zum Empfangen, 9600 8N1.</translation>
    </message>
    <message>
        <source>Make a pseudo-terminal and print its path.</source>
        <translation>Ein Pseudo-Terminal anlegen und seinen Pfad ausgeben.</translation>
    </message>
    <message>
        <source>The sign&apos;s serial address, 1 to 50.</source>
        <translation>Die serielle Adresse der Anzeige, 1 bis 50.</translation>
    </message>
    <message>
        <source>Width of the display in columns.</source>
        <translation>Breite der Anzeige in Spalten.</translation>
    </message>
    <message>
        <source>Also write every frame as a JSON line to FILE.</source>
        <translation>Zusätzlich jeden Frame als JSON-Zeile in FILE schreiben.</translation>
    </message>
    <message>
        <source>Write the message image as PNG at each restart.</source>
        <translation>Bei jedem Neustart das Bild der Nachricht als PNG schreiben.</translation>
    </message>
    <message>
        <source>Show no window.</source>
        <translation>Kein Fenster zeigen.</translation>
    </message>
    <message>
        <source>End after the first restart frame.</source>
        <translation>Nach dem ersten Neustart-Frame beenden.</translation>
    </message>
    <message>
        <source>--address takes a number from 1 to 50</source>
        <translation>--address nimmt eine Zahl von 1 bis 50</translation>
    </message>
    <message>
        <source>--columns takes a number from 8 to 1000</source>
        <translation>--columns nimmt eine Zahl von 8 bis 1000</translation>
    </message>
    <message>
        <source>no display to show the sign on; use --headless</source>
        <translation>kein Bildschirm, um die Anzeige zu zeigen; verwenden Sie --headless</translation>
    </message>
    <message>
        <source>--listen takes ADDR:PORT, for example 127.0.0.1:12346</source>
        <translation>--listen nimmt ADDR:PORT, zum Beispiel 127.0.0.1:12346</translation>
    </message>
</context>
</TS>
