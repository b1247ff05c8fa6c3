<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Tarvo</source>
        <translation>Über Tarvo</translation>
    </message>
    <message>
        <source>Tarvo on the web</source>
        <translation>Tarvo im Web</translation>
    </message>
    <message>
        <source>Version: %1</source>
        <translation>Version: %1</translation>
    </message>
    <message>
        <source>Internet through satellite from KELMIRA</source>
        <translation>Internet über Satellit von KELMIRA</translation>
    </message>
    <message>
        <source>Kelmira Software</source>
        <translation>Kelmira Software</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>This software makes use of the libpcap packet capture library.
Portions of this program are based on the work of others, with our thanks.
This program is free software: you may share and change it under the GNU General Public License, version 3 or any later version. It comes with no warranty.</source>
        <translation>Diese Software verwendet die Paketmitschnitt-Bibliothek libpcap.
Teile dieses Programms beruhen auf der Arbeit anderer, denen wir danken.
Dieses Programm ist freie Software: Sie dürfen es unter der GNU General Public License, Version 3 oder jeder späteren Version, weitergeben und verändern. Es wird ohne jede Gewährleistung geliefert.</translation>
    </message>
    <message>
        <source>Copyright (C) Kelmira Software. GNU GPL 3 or later.</source>
        <translation>Copyright (C) Kelmira Software. GNU GPL 3 oder später.</translation>
    </message>
</context>
<context>
    <name>Adapters</name>
    <message>
        <source>No description available</source>
        <translation>Keine Beschreibung verfügbar</translation>
    </message>
    <message>
        <source>Bridge</source>
        <translation>Brücke</translation>
    </message>
    <message>
        <source>Bond</source>
        <translation>Bündel</translation>
    </message>
    <message>
        <source>Tunnel</source>
        <translation>Tunnel</translation>
    </message>
    <message>
        <source>Virtual Ethernet</source>
        <translation>Virtuelles Ethernet</translation>
    </message>
</context>
<context>
    <name>AlertCommands</name>
    <message>
        <source>(no output)</source>
        <translation>(keine Ausgabe)</translation>
    </message>
    <message>
        <source>Alert command %1 was stopped after %2 s. Output: %3</source>
        <translation>Der Alarmbefehl %1 wurde nach %2 s beendet. Ausgabe: %3</translation>
    </message>
    <message>
        <source>Alert command %1 crashed. Output: %2</source>
        <translation>Der Alarmbefehl %1 ist abgestürzt. Ausgabe: %2</translation>
    </message>
    <message>
        <source>Alert command %1 ended with exit status %2. Output: %3</source>
        <translation>Der Alarmbefehl %1 endete mit Exit-Status %2. Ausgabe: %3</translation>
    </message>
    <message>
        <source>Alert command %1 could not start: %2</source>
        <translation>Der Alarmbefehl %1 konnte nicht starten: %2</translation>
    </message>
</context>
<context>
    <name>AlertRules</name>
    <message>
        <source>Capture stopped</source>
        <translation>Mitschnitt angehalten</translation>
    </message>
    <message>
        <source>%1. Downloads are not counted until it is back.</source>
        <translation>%1. Downloads werden nicht gezählt, bis er wieder läuft.</translation>
    </message>
    <message>
        <source>Frames dropped</source>
        <translation>Frames verworfen</translation>
    </message>
    <message>
        <source>Frames dropped by the capture: %1. The bucket misses their bytes.</source>
        <translation>Vom Mitschnitt verworfene Frames: %1. Ihre Bytes fehlen im Eimer.</translation>
    </message>
    <message>
        <source>%1 bytes to throttle, %2 at the current speed.</source>
        <translation>%1 Bytes bis zur Drosselung, %2 beim jetzigen Tempo.</translation>
    </message>
    <message>
        <source>%1 bytes to throttle.</source>
        <translation>%1 Bytes bis zur Drosselung.</translation>
    </message>
    <message>
        <source>%1 % of the way to the throttle limit</source>
        <translation>%1 % des Wegs zur Drosselgrenze</translation>
    </message>
    <message>
        <source>At the current speed you will be throttled in %1 minute (at about %2): %3 bytes to throttle.</source>
        <translation>Beim jetzigen Tempo werden Sie in %1 Minute gedrosselt (gegen %2): %3 Bytes bis zur Drosselung.</translation>
    </message>
    <message>
        <source>At the current speed you will be throttled in %1 minutes (at about %2): %3 bytes to throttle.</source>
        <translation>Beim jetzigen Tempo werden Sie in %1 Minuten gedrosselt (gegen %2): %3 Bytes bis zur Drosselung.</translation>
    </message>
    <message>
        <source>Throttled soon</source>
        <translation>Bald gedrosselt</translation>
    </message>
    <message>
        <source>Cut off.</source>
        <translation>Abgeschaltet.</translation>
    </message>
    <message>
        <source>Cut off until about %1; full recovery at about %2.</source>
        <translation>Abgeschaltet bis gegen %1; ganz erholt gegen %2.</translation>
    </message>
    <message>
        <source>Cut off until about %1.</source>
        <translation>Abgeschaltet bis gegen %1.</translation>
    </message>
    <message>
        <source>full recovery at about %1.</source>
        <translation>ganz erholt gegen %1.</translation>
    </message>
    <message>
        <source>Cut off</source>
        <translation>Abgeschaltet</translation>
    </message>
    <message>
        <source>Still throttled until about %1.</source>
        <translation>Noch gedrosselt bis gegen %1.</translation>
    </message>
    <message>
        <source>Still throttled.</source>
        <translation>Noch gedrosselt.</translation>
    </message>
    <message>
        <source>Below the throttle limit again: %1 bytes to throttle.</source>
        <translation>Wieder unter der Drosselgrenze: %1 Bytes bis zur Drosselung.</translation>
    </message>
    <message>
        <source>Downloads run again.</source>
        <translation>Downloads laufen wieder.</translation>
    </message>
    <message>
        <source>Cut-off released</source>
        <translation>Abschaltung aufgehoben</translation>
    </message>
    <message>
        <source>%1 bytes to cut off; below the throttle limit again at about %2.</source>
        <translation>%1 Bytes bis zur Abschaltung; wieder unter der Drosselgrenze gegen %2.</translation>
    </message>
    <message>
        <source>%1 bytes to cut off.</source>
        <translation>%1 Bytes bis zur Abschaltung.</translation>
    </message>
    <message>
        <source>Throttled</source>
        <translation>Gedrosselt</translation>
    </message>
    <message>
        <source>No longer throttled</source>
        <translation>Nicht mehr gedrosselt</translation>
    </message>
    <message>
        <source>%1 Downloaded most in the last hour: %2.</source>
        <translation>%1 In der letzten Stunde am meisten heruntergeladen: %2.</translation>
    </message>
</context>
<context>
    <name>AlertsTab</name>
    <message>
        <source>Show desktop notifications</source>
        <translation>Desktop-Benachrichtigungen zeigen</translation>
    </message>
    <message>
        <source>Warn me before the throttle</source>
        <translation>Vor der Drosselung warnen</translation>
    </message>
    <message>
        <source>At these parts of the way to the throttle limit ( % )</source>
        <translation>Bei diesen Anteilen des Wegs zur Drosselgrenze ( % )</translation>
    </message>
    <message>
        <source>e.g. 75,90</source>
        <translation>z. B. 75,90</translation>
    </message>
    <message>
        <source>never</source>
        <translation>nie</translation>
    </message>
    <message>
        <source>When the time to throttle drops below ( min )</source>
        <translation>Wenn die Zeit bis zur Drosselung unter ( min ) fällt</translation>
    </message>
    <message>
        <source>Tarvo also tells you when you are throttled or cut off, when the bucket is below the limits again, and when the capture stops or drops frames. Without a notification service on the desktop the tray icon shows them, without a tray the status line of the monitor window.</source>
        <translation>Tarvo meldet auch, wenn Sie gedrosselt oder abgeschaltet werden, wenn der Eimer wieder unter den Grenzen ist und wenn der Mitschnitt anhält oder Frames verwirft. Ohne Benachrichtigungsdienst auf dem Desktop zeigt sie das Symbol im Infobereich, ohne Infobereich die Statuszeile des Monitorfensters.</translation>
    </message>
    <message>
        <source>Run a command at each alert</source>
        <translation>Bei jedem Alarm einen Befehl ausführen</translation>
    </message>
    <message>
        <source>Run without a shell; the alert&apos;s figures are in TARVO_ALERT, TARVO_PERCENT, TARVO_LEVEL_BYTES and the other TARVO_ variables. Leave it empty to run nothing.</source>
        <translation>Wird ohne Shell ausgeführt; die Werte des Alarms stehen in TARVO_ALERT, TARVO_PERCENT, TARVO_LEVEL_BYTES und den übrigen TARVO_-Variablen. Leer lassen, um nichts auszuführen.</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
    <message>
        <source>Metered connection</source>
        <translation>Getaktete Verbindung</translation>
    </message>
    <message>
        <source>Mark the connection as metered when the bucket is above %1 % of the way to the throttle limit</source>
        <translation>Die Verbindung als getaktet markieren, wenn der Eimer über %1 % des Wegs zur Drosselgrenze liegt</translation>
    </message>
    <message>
        <source>System updates, app stores and cloud sync wait while the connection is metered. NetworkManager changes it for the running connection only; Tarvo puts back the earlier value below the step and when it ends.</source>
        <translation>Systemaktualisierungen, App-Stores und Cloud-Synchronisation warten, solange die Verbindung getaktet ist. NetworkManager ändert das nur für die laufende Verbindung; Tarvo stellt den früheren Wert unter der Stufe und beim Beenden wieder her.</translation>
    </message>
</context>
<context>
    <name>CaptureThread</name>
    <message>
        <source>Could not open device
%1</source>
        <translation>Gerät konnte nicht geöffnet werden
%1</translation>
    </message>
    <message>
        <source>%1 carries frames of type %2, which Tarvo cannot read</source>
        <translation>%1 trägt Frames vom Typ %2, die Tarvo nicht lesen kann</translation>
    </message>
    <message>
        <source>Capture stopped: %1 is gone</source>
        <translation>Mitschnitt angehalten: %1 ist weg</translation>
    </message>
    <message>
        <source>Capture stopped: %1: %2</source>
        <translation>Mitschnitt angehalten: %1: %2</translation>
    </message>
    <message>
        <source>Capture resumed: %1 is back</source>
        <translation>Mitschnitt läuft wieder: %1 ist zurück</translation>
    </message>
</context>
<context>
    <name>Controller</name>
    <message>
        <source>Error in pcap_findalldevs: 
%1</source>
        <translation>Fehler in pcap_findalldevs: 
%1</translation>
    </message>
    <message>
        <source>First start: Tarvo does not know how full your bucket is. Type it above, or press &quot;max&quot; if you have not used the internet for more than 12 hours.</source>
        <translation>Erster Start: Tarvo weiß nicht, wie voll Ihr Eimer ist. Tragen Sie es oben ein, oder drücken Sie „max“, wenn Sie das Internet seit mehr als 12 Stunden nicht genutzt haben.</translation>
    </message>
    <message>
        <source>Tarvo can not determine the last time it was used</source>
        <translation>Tarvo kann nicht feststellen, wann es zuletzt lief</translation>
    </message>
    <message>
        <source>Tarvo can not determine the time it was last used, therefore it can not calculate your actual FAP level. Please fill it in manually. If you haven&apos;t used the internet for more than 12 hours, click the max button next to the edit. If this is the first time you use Tarvo, just ignore this message.</source>
        <translation>Tarvo kann nicht feststellen, wann es zuletzt lief, und daher Ihren aktuellen FAP-Stand nicht berechnen. Bitte tragen Sie ihn von Hand ein. Wenn Sie das Internet seit mehr als 12 Stunden nicht genutzt haben, klicken Sie auf die Schaltfläche „max“ neben dem Feld. Wenn Sie Tarvo zum ersten Mal verwenden, übergehen Sie diese Meldung einfach.</translation>
    </message>
    <message>
        <source>Saving to %1 works again</source>
        <translation>Speichern nach %1 klappt wieder</translation>
    </message>
    <message>
        <source>Please select a network adapter from the Network tab ( first tab ).</source>
        <translation>Bitte wählen Sie auf der Registerkarte Netzwerk ( erste Karte ) einen Netzwerkadapter.</translation>
    </message>
    <message>
        <source>In order to continue you must add at least one LAN IP ( this computer&apos;s ).</source>
        <translation>Um fortzufahren, müssen Sie mindestens eine LAN-IP hinzufügen ( die dieses Computers ).</translation>
    </message>
    <message>
        <source>Frames dropped by the capture: %1</source>
        <translation>Vom Mitschnitt verworfene Frames: %1</translation>
    </message>
    <message>
        <source>Bucket set from the provider&apos;s figure: %1 bytes (Tarvo had counted %2).</source>
        <translation>Eimer nach dem Wert des Anbieters gesetzt: %1 Bytes (Tarvo hatte %2 gezählt).</translation>
    </message>
    <message>
        <source>The bucket is set at the first Ok of the options.</source>
        <translation>Der Eimer wird beim ersten Ok der Optionen gesetzt.</translation>
    </message>
    <message>
        <source>The provider&apos;s figure is beyond what the bucket holds.</source>
        <translation>Der Wert des Anbieters liegt außerhalb dessen, was der Eimer fasst.</translation>
    </message>
    <message>
        <source>The history window could not be loaded: %1</source>
        <translation>Das Verlaufsfenster konnte nicht geladen werden: %1</translation>
    </message>
</context>
<context>
    <name>CosmeticTab</name>
    <message>
        <source>Ping settings</source>
        <translation>Ping-Einstellungen</translation>
    </message>
    <message>
        <source>Reference URL ( ie. %1 )</source>
        <translation>Referenz-URL ( z. B. %1 )</translation>
    </message>
    <message>
        <source>Timeout ( sec )</source>
        <translation>Zeitlimit ( s )</translation>
    </message>
    <message>
        <source>TTL ( ping packet time to live )</source>
        <translation>TTL ( Lebenszeit des Ping-Pakets )</translation>
    </message>
    <message>
        <source>Packet size</source>
        <translation>Paketgröße</translation>
    </message>
    <message>
        <source>Window transparency ( needs a desktop that composites its windows )</source>
        <translation>Fenstertransparenz ( braucht einen Compositing-Desktop )</translation>
    </message>
    <message>
        <source>Transparent</source>
        <translation>Durchsichtig</translation>
    </message>
    <message>
        <source>Opaque</source>
        <translation>Deckend</translation>
    </message>
    <message>
        <source>Tray bar icon</source>
        <translation>Symbol im Infobereich</translation>
    </message>
    <message>
        <source>Graphic</source>
        <translation>Grafik</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Traffic chart</source>
        <translation>Verkehrsdiagramm</translation>
    </message>
    <message>
        <source>History length ( sec )</source>
        <translation>Verlaufslänge ( s )</translation>
    </message>
    <message>
        <source>Auto scale Y axis</source>
        <translation>Y-Achse automatisch skalieren</translation>
    </message>
    <message>
        <source>Start Tarvo when I log in</source>
        <translation>Tarvo bei der Anmeldung starten</translation>
    </message>
    <message>
        <source>Always on top</source>
        <translation>Immer im Vordergrund</translation>
    </message>
    <message>
        <source>Start minimized</source>
        <translation>Minimiert starten</translation>
    </message>
</context>
<context>
    <name>HistoryStore</name>
    <message>
        <source>The usage history %1 could not be read (%2); it was moved to %3 and a new one was started</source>
        <translation>Der Nutzungsverlauf %1 war nicht lesbar (%2); er wurde nach %3 verschoben und ein neuer begonnen</translation>
    </message>
    <message>
        <source>unknown version %1</source>
        <translation>unbekannte Version %1</translation>
    </message>
    <message>
        <source>not a usage history of Tarvo</source>
        <translation>kein Nutzungsverlauf von Tarvo</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 gibt es nicht</translation>
    </message>
    <message>
        <source>%1 is damaged (%2) and could not be moved aside</source>
        <translation>%1 ist beschädigt (%2) und ließ sich nicht beiseiteschieben</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Tarvo history</source>
        <translation>Tarvo-Verlauf</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>last 24 hours</source>
        <translation>letzte 24 Stunden</translation>
    </message>
    <message>
        <source>last 7 days</source>
        <translation>letzte 7 Tage</translation>
    </message>
    <message>
        <source>Bucket level</source>
        <translation>Eimerstand</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>Voriger Monat</translation>
    </message>
    <message>
        <source>Previous day</source>
        <translation>Voriger Tag</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Nächster Monat</translation>
    </message>
    <message>
        <source>Next day</source>
        <translation>Nächster Tag</translation>
    </message>
    <message>
        <source>Per day</source>
        <translation>Pro Tag</translation>
    </message>
    <message>
        <source>Per hour</source>
        <translation>Pro Stunde</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>LAN host</source>
        <translation>LAN-Rechner</translation>
    </message>
    <message>
        <source>Downloaded ( bytes )</source>
        <translation>Heruntergeladen ( Bytes )</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Anteil</translation>
    </message>
    <message>
        <source>Bucket level, %1</source>
        <translation>Eimerstand, %1</translation>
    </message>
    <message>
        <source>Throttle limit</source>
        <translation>Drosselgrenze</translation>
    </message>
    <message>
        <source>Cut-off limit</source>
        <translation>Abschaltgrenze</translation>
    </message>
    <message>
        <source>Local time</source>
        <translation>Ortszeit</translation>
    </message>
    <message>
        <source>No bucket level was recorded in the %1.</source>
        <translation>Kein Eimerstand aufgezeichnet (%1).</translation>
    </message>
    <message>
        <source>Day of the month</source>
        <translation>Tag des Monats</translation>
    </message>
    <message>
        <source>Hour (local time; under an hour that came twice, its offset from UTC)</source>
        <translation>Stunde (Ortszeit; unter einer doppelten Stunde ihr Abstand zu UTC)</translation>
    </message>
    <message>
        <source>Hour (local time)</source>
        <translation>Stunde (Ortszeit)</translation>
    </message>
    <message>
        <source>in this month</source>
        <translation>in diesem Monat</translation>
    </message>
    <message>
        <source>on this day</source>
        <translation>an diesem Tag</translation>
    </message>
    <message>
        <source>No traffic was recorded %1.</source>
        <translation>Kein Verkehr %1 aufgezeichnet.</translation>
    </message>
    <message>
        <source>Downloaded: %1 bytes    Uploaded: %2 bytes</source>
        <translation>Heruntergeladen: %1 Bytes    Hochgeladen: %2 Bytes</translation>
    </message>
    <message>
        <source>No LAN host downloaded anything %1.</source>
        <translation>Kein LAN-Rechner hat %1 etwas heruntergeladen.</translation>
    </message>
    <message>
        <source>Set at</source>
        <translation>Gesetzt am</translation>
    </message>
    <message>
        <source>Tarvo&apos;s level ( bytes )</source>
        <translation>Tarvos Füllstand ( Bytes )</translation>
    </message>
    <message>
        <source>Provider&apos;s level ( bytes )</source>
        <translation>Füllstand des Anbieters ( Bytes )</translation>
    </message>
    <message>
        <source>Tarvo ahead by ( bytes )</source>
        <translation>Tarvo voraus um ( Bytes )</translation>
    </message>
    <message>
        <source>Corrections</source>
        <translation>Korrekturen</translation>
    </message>
    <message>
        <source>No corrections yet: &quot;Set bucket from provider...&quot; in the File menu records one.</source>
        <translation>Noch keine Korrekturen: „Eimer vom Anbieter übernehmen...“ im Menü Datei erfasst eine.</translation>
    </message>
    <message>
        <source>The drift shows from the second correction on.</source>
        <translation>Die Abweichung zeigt sich ab der zweiten Korrektur.</translation>
    </message>
    <message>
        <source>Tarvo runs ahead of the provider by %1 MB a day.</source>
        <translation>Tarvo läuft dem Anbieter um %1 MB pro Tag voraus.</translation>
    </message>
    <message>
        <source>Tarvo runs behind the provider by %1 MB a day.</source>
        <translation>Tarvo liegt um %1 MB pro Tag hinter dem Anbieter.</translation>
    </message>
</context>
<context>
    <name>HistoryWriter</name>
    <message>
        <source>Could not write the usage history %1: %2. The minutes are kept and written later</source>
        <translation>Der Nutzungsverlauf %1 ließ sich nicht schreiben: %2. Die Minuten werden aufbewahrt und später geschrieben</translation>
    </message>
    <message>
        <source>Writing the usage history %1 works again</source>
        <translation>Schreiben des Nutzungsverlaufs %1 klappt wieder</translation>
    </message>
    <message>
        <source>Could not record the correction of the bucket in the usage history %1: %2</source>
        <translation>Die Korrektur des Eimers konnte nicht im Nutzungsverlauf %1 gespeichert werden: %2</translation>
    </message>
</context>
<context>
    <name>HttpFetch</name>
    <message>
        <source>The server did not answer in time (%1 s)</source>
        <translation>Der Server hat nicht rechtzeitig geantwortet (%1 s)</translation>
    </message>
    <message>
        <source>Not a web address: %1</source>
        <translation>Keine Webadresse: %1</translation>
    </message>
    <message>
        <source>The reply is larger than %1 bytes</source>
        <translation>Die Antwort ist größer als %1 Bytes</translation>
    </message>
</context>
<context>
    <name>IcmpEcho</name>
    <message>
        <source>Unable to open an ICMP datagram socket (%1): allow ICMP sockets with net.ipv4.ping_group_range</source>
        <translation>ICMP-Datagramm-Socket lässt sich nicht öffnen (%1): ICMP-Sockets mit net.ipv4.ping_group_range erlauben</translation>
    </message>
    <message>
        <source>Unable to open an ICMP socket (%1): the latency probe needs CAP_NET_RAW: run scripts/run, or allow ICMP sockets with net.ipv4.ping_group_range</source>
        <translation>ICMP-Socket lässt sich nicht öffnen (%1): die Latenzmessung braucht CAP_NET_RAW: scripts/run ausführen oder ICMP-Sockets mit net.ipv4.ping_group_range erlauben</translation>
    </message>
    <message>
        <source>Unable to open an ICMP socket: %1</source>
        <translation>ICMP-Socket lässt sich nicht öffnen: %1</translation>
    </message>
    <message>
        <source>Unable to create the wake-up event of the ICMP socket: %1</source>
        <translation>Weck-Ereignis des ICMP-Sockets lässt sich nicht anlegen: %1</translation>
    </message>
    <message>
        <source>Unable to bind the ICMP datagram socket: %1</source>
        <translation>ICMP-Datagramm-Socket lässt sich nicht binden: %1</translation>
    </message>
</context>
<context>
    <name>InstallerDownload</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>Schreiben nach %1 nicht möglich</translation>
    </message>
    <message>
        <source>The download stalled: nothing arrived for %1 s</source>
        <translation>Der Download stockt: seit %1 s kam nichts an</translation>
    </message>
    <message>
        <source>Not a web address: %1</source>
        <translation>Keine Webadresse: %1</translation>
    </message>
    <message>
        <source>The download is larger than %1 bytes, more than an update can be</source>
        <translation>Der Download ist größer als %1 Bytes, mehr als ein Update sein kann</translation>
    </message>
    <message>
        <source>The connection ended before the whole download arrived</source>
        <translation>Die Verbindung endete, bevor der ganze Download ankam</translation>
    </message>
</context>
<context>
    <name>LevelCurve</name>
    <message>
        <source>throttle %1 MB</source>
        <translation>Drosselung %1 MB</translation>
    </message>
    <message>
        <source>cut off %1 MB</source>
        <translation>Abschaltung %1 MB</translation>
    </message>
</context>
<context>
    <name>MeteredConnection</name>
    <message>
        <source>NetworkManager answered GetAppliedConnection with %1</source>
        <translation>NetworkManager hat GetAppliedConnection mit %1 beantwortet</translation>
    </message>
</context>
<context>
    <name>MeteredSwitch</name>
    <message>
        <source>Tarvo could not change the metered state of %1: %2</source>
        <translation>Tarvo konnte den Taktungsstatus von %1 nicht ändern: %2</translation>
    </message>
    <message>
        <source>NetworkManager is not running: Tarvo cannot change the metered state of %1.</source>
        <translation>NetworkManager läuft nicht: Tarvo kann den Taktungsstatus von %1 nicht ändern.</translation>
    </message>
    <message>
        <source>NetworkManager refused to let Tarvo change the metered state of %1.</source>
        <translation>NetworkManager hat Tarvo verweigert, den Taktungsstatus von %1 zu ändern.</translation>
    </message>
    <message>
        <source>NetworkManager does not manage %1: Tarvo cannot change its metered state.</source>
        <translation>NetworkManager verwaltet %1 nicht: Tarvo kann den Taktungsstatus nicht ändern.</translation>
    </message>
</context>
<context>
    <name>MonitorWindow</name>
    <message>
        <source>No system tray: closing this window minimises it; File &gt; Close ends Tarvo.</source>
        <translation>Kein Infobereich: Schließen minimiert dieses Fenster; Datei &gt; Beenden beendet Tarvo.</translation>
    </message>
    <message>
        <source>%1 bytes / s</source>
        <translation>%1 Bytes/s</translation>
    </message>
    <message>
        <source>Show more</source>
        <translation>Mehr zeigen</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Extras</translation>
    </message>
    <message>
        <source>Options...</source>
        <translation>Optionen...</translation>
    </message>
    <message>
        <source>Will it fit?...</source>
        <translation>Passt es?...</translation>
    </message>
    <message>
        <source>History...</source>
        <translation>Verlauf...</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Internet and other satellite services from KELMIRA</source>
        <translation>Internet und andere Satellitendienste von KELMIRA</translation>
    </message>
    <message>
        <source>Kelmira Software</source>
        <translation>Kelmira Software</translation>
    </message>
    <message>
        <source>Tarvo on the web</source>
        <translation>Tarvo im Web</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Zeigen</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Always on top</source>
        <translation>Immer im Vordergrund</translation>
    </message>
    <message>
        <source>Reset interface counters ( does not affect FAP calculations )</source>
        <translation>Schnittstellenzähler zurücksetzen ( ändert die FAP-Rechnung nicht )</translation>
    </message>
    <message>
        <source>Reset FAP level</source>
        <translation>FAP-Stand zurücksetzen</translation>
    </message>
    <message>
        <source>Total bytes downloaded so far:</source>
        <translation>Bisher geladene Bytes:</translation>
    </message>
    <message>
        <source>FAP level:</source>
        <translation>FAP-Stand:</translation>
    </message>
    <message>
        <source>Download speed ( average )</source>
        <translation>Download ( Mittel )</translation>
    </message>
    <message>
        <source>Download speed ( instant )</source>
        <translation>Download ( jetzt )</translation>
    </message>
    <message>
        <source>Full recovery time:</source>
        <translation>Ganz erholt in:</translation>
    </message>
    <message>
        <source>Bytes to throttle:</source>
        <translation>Bis Drosselung:</translation>
    </message>
    <message>
        <source>Bytes to cut off:</source>
        <translation>Bis Abschaltung:</translation>
    </message>
    <message>
        <source>Time to throttle:</source>
        <translation>Drosselung in:</translation>
    </message>
    <message>
        <source>Time to cut off:</source>
        <translation>Abschaltung in:</translation>
    </message>
    <message>
        <source>Upload speed ( average )</source>
        <translation>Upload ( Mittel )</translation>
    </message>
    <message>
        <source>Upload speed ( instant )</source>
        <translation>Upload ( jetzt )</translation>
    </message>
    <message>
        <source>Upload bytes ( total ):</source>
        <translation>Upload ( gesamt ):</translation>
    </message>
    <message>
        <source>Ping ( ms ):</source>
        <translation>Ping ( ms ):</translation>
    </message>
    <message>
        <source>Packets / s:</source>
        <translation>Pakete / s:</translation>
    </message>
    <message>
        <source>Average packet size:</source>
        <translation>Mittl. Paketgröße:</translation>
    </message>
    <message>
        <source>Packets received:</source>
        <translation>Empfangen:</translation>
    </message>
    <message>
        <source>Packets sent:</source>
        <translation>Gesendet:</translation>
    </message>
    <message>
        <source>Restrictions:</source>
        <translation>Beschränkung:</translation>
    </message>
    <message>
        <source>Tarvo
FAP level: %1%
Restrictions: %2</source>
        <translation>Tarvo
FAP-Stand: %1%
Beschränkung: %2</translation>
    </message>
    <message>
        <source>Reset all counters?</source>
        <translation>Alle Zähler zurücksetzen?</translation>
    </message>
    <message>
        <source>This will reset all Tarvo counters, as well as set your FAP level to maximum. Are you sure you want to proceed?</source>
        <translation>Damit werden alle Zähler von Tarvo zurückgesetzt und Ihr FAP-Stand auf das Maximum gestellt. Wirklich fortfahren?</translation>
    </message>
    <message>
        <source>Set bucket from provider...</source>
        <translation>Eimer vom Anbieter übernehmen...</translation>
    </message>
    <message>
        <source>Programs...</source>
        <translation>Programme...</translation>
    </message>
</context>
<context>
    <name>NetworkTab</name>
    <message>
        <source>or IPv6</source>
        <translation>oder IPv6</translation>
    </message>
    <message>
        <source>Please select the device corresponding to your Direcway connection from the list below</source>
        <translation>Bitte wählen Sie unten das Gerät Ihrer Direcway-Verbindung</translation>
    </message>
    <message>
        <source>IP Address in your LAN</source>
        <translation>IP-Adresse in Ihrem LAN</translation>
    </message>
    <message>
        <source>Add new IP</source>
        <translation>Neue IP</translation>
    </message>
    <message>
        <source>Delete selected IP</source>
        <translation>IP löschen</translation>
    </message>
    <message>
        <source>Use all 192.168.*.* IPs as LAN</source>
        <translation>Alle 192.168.*.*-IPs als LAN nutzen</translation>
    </message>
    <message>
        <source>Use this adapter&apos;s IPv6 networks as LAN</source>
        <translation>IPv6-Netze dieses Adapters als LAN nutzen</translation>
    </message>
    <message>
        <source>See my public IP</source>
        <translation>Öffentliche IP ansehen</translation>
    </message>
    <message>
        <source>Add my public IP</source>
        <translation>Öffentliche IP hinzufügen</translation>
    </message>
    <message>
        <source>IP Addresses to exclude from count ( e.g. www.direcway.example - 203.0.113.10 )</source>
        <translation>Nicht gezählte IP-Adressen ( z. B. www.direcway.example - 203.0.113.10 )</translation>
    </message>
</context>
<context>
    <name>OptionValues</name>
    <message>
        <source>a number</source>
        <translation>eine Zahl</translation>
    </message>
    <message>
        <source>0 or more and less than %1</source>
        <translation>mindestens 0 und kleiner als %1</translation>
    </message>
    <message>
        <source>a whole number</source>
        <translation>eine ganze Zahl</translation>
    </message>
    <message>
        <source>from %1 to %2</source>
        <translation>von %1 bis %2</translation>
    </message>
    <message>
        <source>The value of &quot;%1&quot; must be %2.</source>
        <translation>Der Wert von „%1“ muss %2 sein.</translation>
    </message>
    <message>
        <source>FAP recharge rate in KB/s</source>
        <translation>FAP-Aufladerate in KB/s</translation>
    </message>
    <message>
        <source>The value of &quot;At these parts of the way to the throttle limit ( % )&quot; must be whole percentages from 1 to 99, separated by commas (such as 75,90), or nothing.</source>
        <translation>Der Wert von „Bei diesen Anteilen des Wegs zur Drosselgrenze ( % )“ muss aus ganzen Prozentzahlen von 1 bis 99 bestehen, durch Kommas getrennt (etwa 75,90), oder leer sein.</translation>
    </message>
    <message>
        <source>The value of &quot;Cut off limit in MB&quot; must not be below the &quot;Throttle limit in MB&quot;.</source>
        <translation>Der Wert von „Abschaltgrenze in MB“ darf nicht unter der „Drosselgrenze in MB“ liegen.</translation>
    </message>
</context>
<context>
    <name>OptionsWindow</name>
    <message>
        <source>Tarvo - Options</source>
        <translation>Tarvo - Optionen</translation>
    </message>
    <message>
        <source>Network settings</source>
        <translation>Netzwerk</translation>
    </message>
    <message>
        <source>Direcway settings</source>
        <translation>Direcway</translation>
    </message>
    <message>
        <source>Cosmetic and others</source>
        <translation>Aussehen und mehr</translation>
    </message>
    <message>
        <source>Alerts</source>
        <translation>Meldungen</translation>
    </message>
    <message>
        <source>Always show this window when Tarvo starts</source>
        <translation>Dieses Fenster bei jedem Start zeigen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>PlanTab</name>
    <message>
        <source>Auto fill from plan ( please select plan from list below )</source>
        <translation>Aus Tarif übernehmen ( bitte unten einen Tarif wählen )</translation>
    </message>
    <message>
        <source>FAP recharge rate in KB/s:</source>
        <translation>FAP-Aufladerate in KB/s:</translation>
    </message>
    <message>
        <source>Cut off limit in MB</source>
        <translation>Abschaltgrenze in MB</translation>
    </message>
    <message>
        <source>Throttle limit in MB</source>
        <translation>Drosselgrenze in MB</translation>
    </message>
    <message>
        <source>max</source>
        <translation>max</translation>
    </message>
    <message>
        <source>Cumulative download in MB</source>
        <translation>Eimerstand in MB</translation>
    </message>
    <message>
        <source>Off peak settings ( US only ). Check this box to use.</source>
        <translation>Nebenzeit ( nur USA ). Ankreuzen zum Nutzen.</translation>
    </message>
    <message>
        <source>Off peak cut off limit in MB</source>
        <translation>Nebenzeit-Abschaltgrenze in MB</translation>
    </message>
    <message>
        <source>Off peak start time</source>
        <translation>Beginn der Nebenzeit</translation>
    </message>
    <message>
        <source>Off peak end time</source>
        <translation>Ende der Nebenzeit</translation>
    </message>
</context>
<context>
    <name>PlanText</name>
    <message>
        <source>%1 day %2</source>
        <translation>%1 Tag %2</translation>
    </message>
    <message>
        <source>%1 days %2</source>
        <translation>%1 Tage %2</translation>
    </message>
    <message>
        <source>in %1, at %2</source>
        <translation>in %1, um %2</translation>
    </message>
    <message>
        <source>It will not be throttled.</source>
        <translation>Er wird nicht gedrosselt.</translation>
    </message>
    <message>
        <source>The bucket is above the throttle limit already.</source>
        <translation>Der Eimer ist schon über der Drosselgrenze.</translation>
    </message>
    <message>
        <source>Throttled %1.</source>
        <translation>Gedrosselt %1.</translation>
    </message>
    <message>
        <source>It will not be cut off.</source>
        <translation>Er wird nicht abgeschaltet.</translation>
    </message>
    <message>
        <source>Cut off already: the download waits until the cut-off lifts.</source>
        <translation>Schon abgeschaltet: der Download wartet, bis die Abschaltung endet.</translation>
    </message>
    <message>
        <source>Cut off %1.</source>
        <translation>Abgeschaltet %1.</translation>
    </message>
    <message>
        <source>Not done within 7 days.</source>
        <translation>Nicht fertig binnen 7 Tagen.</translation>
    </message>
    <message>
        <source>Done %1.</source>
        <translation>Fertig %1.</translation>
    </message>
    <message>
        <source>Restriction &quot;none&quot; again %1.</source>
        <translation>Beschränkung wieder „keine“ %1.</translation>
    </message>
    <message>
        <source>No start within the next 7 days sees it done below the throttle limit.</source>
        <translation>Kein Start in den nächsten 7 Tagen bringt ihn unter der Drosselgrenze zu Ende.</translation>
    </message>
    <message>
        <source>It fits now: it stays below the throttle limit all the way.</source>
        <translation>Er passt jetzt: er bleibt die ganze Zeit unter der Drosselgrenze.</translation>
    </message>
    <message>
        <source>It fits if started %1.</source>
        <translation>Er passt, wenn er %1 beginnt.</translation>
    </message>
</context>
<context>
    <name>PlannerWindow</name>
    <message>
        <source>Will it fit?</source>
        <translation>Passt es?</translation>
    </message>
    <message>
        <source>bytes per second, or 200 KB</source>
        <translation>Bytes pro Sekunde, oder 200 KB</translation>
    </message>
    <message>
        <source>Download size:</source>
        <translation>Downloadgröße:</translation>
    </message>
    <message>
        <source>Speed per second:</source>
        <translation>Tempo pro Sekunde:</translation>
    </message>
    <message>
        <source>Recent average: %1 bytes / s</source>
        <translation>Zuletzt im Mittel: %1 Bytes/s</translation>
    </message>
    <message>
        <source>In the bucket now: %1 of %2 bytes; throttled above %3%4.</source>
        <translation>Jetzt im Eimer: %1 von %2 Bytes; gedrosselt über %3%4.</translation>
    </message>
    <message>
        <source>, CUT OFF</source>
        <translation>, ABGESCHALTET</translation>
    </message>
    <message>
        <source>Type the download&apos;s size, such as 3 GB.</source>
        <translation>Geben Sie die Größe des Downloads ein, etwa 3 GB.</translation>
    </message>
    <message>
        <source>Type a speed above 0, such as 200 KB.</source>
        <translation>Geben Sie ein Tempo über 0 ein, etwa 200 KB.</translation>
    </message>
</context>
<context>
    <name>Profile</name>
    <message>
        <source>Unable to write to %1
%2</source>
        <translation>Schreiben nach %1 nicht möglich
%2</translation>
    </message>
    <message>
        <source>The file is larger than %1 bytes</source>
        <translation>Die Datei ist größer als %1 Bytes</translation>
    </message>
</context>
<context>
    <name>ProgramAttribution</name>
    <message>
        <source>not attributed</source>
        <translation>nicht zugeordnet</translation>
    </message>
    <message>
        <source>system services</source>
        <translation>Systemdienste</translation>
    </message>
    <message>
        <source>programs of %1</source>
        <translation>Programme von %1</translation>
    </message>
</context>
<context>
    <name>ProgramsWindow</name>
    <message>
        <source>Programs</source>
        <translation>Programme</translation>
    </message>
    <message>
        <source>This minute</source>
        <translation>Diese Minute</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>Since the bucket was last empty</source>
        <translation>Seit der Eimer zuletzt leer war</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>Download (bytes)</source>
        <translation>Download (Bytes)</translation>
    </message>
    <message>
        <source>Upload (bytes)</source>
        <translation>Upload (Bytes)</translation>
    </message>
    <message>
        <source>Share of download</source>
        <translation>Anteil am Download</translation>
    </message>
    <message>
        <source>Period:</source>
        <translation>Zeitraum:</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
</context>
<context>
    <name>ProviderBucketDialog</name>
    <message>
        <source>Set bucket from provider</source>
        <translation>Eimer vom Anbieter übernehmen</translation>
    </message>
    <message>
        <source>Type the figure your provider&apos;s meter shows; Tarvo&apos;s bucket takes it at once.</source>
        <translation>Geben Sie den Wert ein, den der Zähler Ihres Anbieters zeigt; Tarvos Eimer übernimmt ihn sofort.</translation>
    </message>
    <message>
        <source>Remaining allowance in MB</source>
        <translation>Verbleibendes Kontingent in MB</translation>
    </message>
    <message>
        <source>Remaining allowance in %</source>
        <translation>Verbleibendes Kontingent in %</translation>
    </message>
    <message>
        <source>Bucket level in MB</source>
        <translation>Füllstand des Eimers in MB</translation>
    </message>
    <message>
        <source>The provider shows</source>
        <translation>Der Anbieter zeigt</translation>
    </message>
    <message>
        <source>Figure</source>
        <translation>Wert</translation>
    </message>
</context>
<context>
    <name>Restriction</name>
    <message>
        <source>THROTTLED</source>
        <translation>GEDROSSELT</translation>
    </message>
    <message>
        <source>CUT OFF</source>
        <translation>ABGESCHALTET</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
</context>
<context>
    <name>SetBucket</name>
    <message>
        <source>set-bucket needs one figure: BYTES or N% (given: %1)</source>
        <translation>set-bucket braucht genau einen Wert: BYTES oder N% (angegeben: %1)</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keiner</translation>
    </message>
    <message>
        <source>the level needs a number of bytes with an optional unit (60MB, 1.5GB), not &quot;%1&quot;</source>
        <translation>der Füllstand braucht eine Anzahl Bytes mit optionaler Einheit (60MB, 1.5GB), nicht „%1“</translation>
    </message>
    <message>
        <source>the remaining allowance needs a number of bytes with an optional unit (900MB) or a percentage (42%), not &quot;%1&quot;</source>
        <translation>das verbleibende Kontingent braucht eine Anzahl Bytes mit optionaler Einheit (900MB) oder einen Prozentsatz (42%), nicht „%1“</translation>
    </message>
    <message>
        <source>Tarvo is not counting yet: the options wait for Ok</source>
        <translation>Tarvo zählt noch nicht: die Optionen warten auf Ok</translation>
    </message>
    <message>
        <source>Tarvo refused the figure: it is beyond what the bucket holds</source>
        <translation>Tarvo hat den Wert abgelehnt: er liegt außerhalb dessen, was der Eimer fasst</translation>
    </message>
    <message>
        <source>Bucket set to %1 bytes (Tarvo had counted %2).</source>
        <translation>Eimer auf %1 Bytes gesetzt (Tarvo hatte %2 gezählt).</translation>
    </message>
    <message>
        <source>cannot read Tarvo&apos;s answer</source>
        <translation>kann die Antwort von Tarvo nicht lesen</translation>
    </message>
</context>
<context>
    <name>UpdateCheck</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>Schreiben nach %1 nicht möglich</translation>
    </message>
    <message>
        <source>The update server sent an empty reply</source>
        <translation>Der Update-Server hat eine leere Antwort geschickt</translation>
    </message>
    <message>
        <source>The update server&apos;s reply has %1 lines, fewer than 3</source>
        <translation>Die Antwort des Update-Servers hat %1 Zeilen, weniger als 3</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid floating point value</source>
        <translation>„%1“ ist keine gültige Gleitkommazahl</translation>
    </message>
</context>
<context>
    <name>UpdateOfferWindow</name>
    <message>
        <source>&quot;Update Now!&quot; downloads the new version, closes %1 and opens the downloaded file with the program your desktop uses for such files.</source>
        <translation>„Jetzt aktualisieren!“ lädt die neue Version herunter, beendet %1 und öffnet die geladene Datei mit dem Programm, das Ihr Desktop für solche Dateien nutzt.</translation>
    </message>
    <message>
        <source>Update Now!</source>
        <translation>Jetzt aktualisieren!</translation>
    </message>
    <message>
        <source>Remind me in 5 days</source>
        <translation>In 5 Tagen erinnern</translation>
    </message>
    <message>
        <source>Never remind me about updates again</source>
        <translation>Nie mehr an Updates erinnern</translation>
    </message>
    <message>
        <source>New version available</source>
        <translation>Neue Version verfügbar</translation>
    </message>
    <message>
        <source>Got %1 bytes of %2 total</source>
        <translation>%1 von %2 Bytes erhalten</translation>
    </message>
    <message>
        <source>The download could not be verified, so it was not opened. It is kept as %1</source>
        <translation>Der Download ließ sich nicht prüfen und wurde daher nicht geöffnet. Er liegt unter %1</translation>
    </message>
    <message>
        <source>Please wait... downloading your update!</source>
        <translation>Bitte warten... Ihr Update wird geladen!</translation>
    </message>
</context>
<context>
    <name>UpdateStep</name>
    <message>
        <source>Update check failed: %1</source>
        <translation>Update-Prüfung fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Please wait... Checking for updates</source>
        <translation>Bitte warten... Suche nach Updates</translation>
    </message>
    <message>
        <source>Update check complete: No new version found</source>
        <translation>Update-Prüfung fertig: keine neue Version gefunden</translation>
    </message>
    <message>
        <source>Update check complete: New version found</source>
        <translation>Update-Prüfung fertig: neue Version gefunden</translation>
    </message>
    <message>
        <source>%1 has finished downloading the update. %1 will now close, and your desktop will open the downloaded file %2 with the program it uses for such files.</source>
        <translation>%1 hat das Update heruntergeladen. %1 wird jetzt beendet, und Ihr Desktop öffnet die geladene Datei %2 mit dem Programm, das er für solche Dateien nutzt.</translation>
    </message>
</context>
<context>
    <name>WebRequest</name>
    <message>
        <source>The server sent a redirect without a web address</source>
        <translation>Der Server hat eine Umleitung ohne Webadresse geschickt</translation>
    </message>
    <message>
        <source>Too many redirects</source>
        <translation>Zu viele Umleitungen</translation>
    </message>
</context>
<context>
    <name>tarvo</name>
    <message>
        <source>usage: tarvo [--help]

Watches the Fair Access Policy of a metered satellite link: the options window comes first,
then a small window and a tray icon show the bucket second by second.

  --help          this help

Where its files live: man tarvo. Without windows: tarvo-cli --help.
</source>
        <translation>Aufruf: tarvo [--help]

Überwacht die Fair Access Policy einer volumenbegrenzten Satellitenverbindung: zuerst kommt das Optionenfenster,
dann zeigen ein kleines Fenster und ein Symbol im Infobereich den Eimer Sekunde für Sekunde.

  --help          diese Hilfe

Wo die Dateien liegen: man tarvo. Ohne Fenster: tarvo-cli --help.
</translation>
    </message>
</context>
<context>
    <name>tarvo-cli</name>
    <message>
        <source>option %1 needs a value</source>
        <translation>Option %1 braucht einen Wert</translation>
    </message>
    <message>
        <source>option %1 needs a value, not the option %2</source>
        <translation>Option %1 braucht einen Wert, nicht die Option %2</translation>
    </message>
    <message>
        <source>%1 (%2 took &quot;%3&quot; as its value)</source>
        <translation>%1 (%2 hat „%3“ als Wert genommen)</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>--by takes minute, hour or day, not &quot;%1&quot;</source>
        <translation>--by nimmt minute, hour oder day, nicht „%1“</translation>
    </message>
    <message>
        <source>%1 takes YYYY-MM-DD or YYYY-MM-DDTHH:MM, not &quot;%2&quot;</source>
        <translation>%1 nimmt YYYY-MM-DD oder YYYY-MM-DDTHH:MM, nicht „%2“</translation>
    </message>
    <message>
        <source>--speed needs bytes per second above 0 (such as 500000 or 2MB), not &quot;%1&quot;</source>
        <translation>--speed braucht Bytes pro Sekunde über 0 (etwa 500000 oder 2MB), nicht „%1“</translation>
    </message>
    <message>
        <source>--at needs HH:MM today or YYYY-MM-DDTHH:MM, not &quot;%1&quot;</source>
        <translation>--at braucht HH:MM heute oder YYYY-MM-DDTHH:MM, nicht „%1“</translation>
    </message>
    <message>
        <source>more than one size: %1</source>
        <translation>mehr als eine Größe: %1</translation>
    </message>
    <message>
        <source>the size needs a number of bytes above 0 with an optional unit (such as 3GB or 500MB), not &quot;%1&quot;</source>
        <translation>die Größe braucht eine Zahl von Bytes über 0 mit wahlweiser Einheit (etwa 3GB oder 500MB), nicht „%1“</translation>
    </message>
    <message>
        <source>no size given</source>
        <translation>keine Größe angegeben</translation>
    </message>
    <message>
        <source>--at %1 lies before the bucket was saved (%2)</source>
        <translation>--at %1 liegt vor dem Speichern des Eimers (%2)</translation>
    </message>
    <message>
        <source>%1 bytes at %2 bytes / s, from %3 with %4 bytes in the bucket (throttle limit %5):</source>
        <translation>%1 Bytes mit %2 Bytes/s, ab %3 mit %4 Bytes im Eimer (Drosselgrenze %5):</translation>
    </message>
    <message>
        <source>%1 bytes all at once, from %2 with %3 bytes in the bucket (throttle limit %4):</source>
        <translation>%1 Bytes auf einmal, ab %2 mit %3 Bytes im Eimer (Drosselgrenze %4):</translation>
    </message>
    <message>
        <source>frame %1 lies more than %2 days after the first one; a replay covers at most that</source>
        <translation>Frame %1 liegt mehr als %2 Tage nach dem ersten; mehr umfasst eine Wiedergabe nicht</translation>
    </message>
    <message>
        <source>cannot write to standard output</source>
        <translation>Schreiben auf die Standardausgabe nicht möglich</translation>
    </message>
    <message>
        <source>--used needs a whole number of bytes from -2147483648 to 2147483647, not &quot;%1&quot;</source>
        <translation>--used braucht eine ganze Zahl von Bytes von -2147483648 bis 2147483647, nicht „%1“</translation>
    </message>
    <message>
        <source>%1 needs an IPv4 address in dotted-decimal form or an IPv6 address or network, not &quot;%2&quot;</source>
        <translation>%1 braucht eine IPv4-Adresse in Punktschreibweise oder eine IPv6-Adresse oder ein IPv6-Netz, nicht „%2“</translation>
    </message>
    <message>
        <source>--mtu needs a whole number of bytes from 0 to %1, not &quot;%2&quot;</source>
        <translation>--mtu braucht eine ganze Zahl von Bytes von 0 bis %1, nicht „%2“</translation>
    </message>
    <message>
        <source>more than one capture file: %1 and %2</source>
        <translation>mehr als eine Mitschnittdatei: %1 und %2</translation>
    </message>
    <message>
        <source>no capture file given</source>
        <translation>keine Mitschnittdatei angegeben</translation>
    </message>
    <message>
        <source>cannot read settings file %1: %2</source>
        <translation>Einstellungsdatei %1 nicht lesbar: %2</translation>
    </message>
    <message>
        <source>settings file %1 is larger than %2 bytes</source>
        <translation>Einstellungsdatei %1 ist größer als %2 Bytes</translation>
    </message>
    <message>
        <source>cannot read capture file %1</source>
        <translation>Mitschnittdatei nicht lesbar: %1</translation>
    </message>
    <message>
        <source>%1 carries frames of type %2, which Tarvo cannot read</source>
        <translation>%1 trägt Frames vom Typ %2, die Tarvo nicht lesen kann</translation>
    </message>
    <message>
        <source>cannot read capture file %1: %2</source>
        <translation>Mitschnittdatei %1 nicht lesbar: %2</translation>
    </message>
    <message>
        <source>status takes no argument %1</source>
        <translation>status nimmt kein Argument %1</translation>
    </message>
    <message>
        <source>Tarvo is running but did not answer within %1 s (busy?)</source>
        <translation>Tarvo läuft, hat aber nicht binnen %1 s geantwortet (beschäftigt?)</translation>
    </message>
    <message>
        <source>Tarvo is not running (no %1)</source>
        <translation>Tarvo läuft nicht (kein %1)</translation>
    </message>
    <message>
        <source>Tarvo is not running (%1 is left from a copy that was killed)</source>
        <translation>Tarvo läuft nicht (%1 stammt von einer beendeten Kopie)</translation>
    </message>
    <message>
        <source>cannot reach Tarvo at %1: %2</source>
        <translation>Tarvo unter %1 nicht erreichbar: %2</translation>
    </message>
    <message>
        <source>Tarvo is running but ended the connection without an answer (a box waiting for an answer?)</source>
        <translation>Tarvo läuft, hat die Verbindung aber ohne Antwort beendet (wartet ein Dialog auf Antwort?)</translation>
    </message>
    <message>
        <source>cannot read Tarvo&apos;s answer (not JSON of status version %1)</source>
        <translation>Antwort von Tarvo nicht lesbar (kein JSON der Status-Version %1)</translation>
    </message>
    <message>
        <source>--seconds needs a whole number of seconds above 0, not &quot;%1&quot;</source>
        <translation>--seconds braucht eine ganze Zahl von Sekunden über 0, nicht „%1“</translation>
    </message>
    <message>
        <source>more than one interface: %1 and %2</source>
        <translation>mehr als eine Schnittstelle: %1 und %2</translation>
    </message>
    <message>
        <source>no interface given</source>
        <translation>keine Schnittstelle angegeben</translation>
    </message>
    <message>
        <source>tarvo-cli replay [--ini FILE] [--used BYTES] [--lan ADDR]... [--ignore ADDR]... [--no-192]
                        [--mtu BYTES] CAPTURE.pcap</source>
        <translation>tarvo-cli replay [--ini FILE] [--used BYTES] [--lan ADDR]... [--ignore ADDR]... [--no-192]
                        [--mtu BYTES] CAPTURE.pcap</translation>
    </message>
    <message>
        <source>runs a capture file through the classifier and the bucket, one CSV line per second
        of capture time</source>
        <translation>lässt eine Mitschnittdatei durch den Klassifizierer und den Eimer laufen, eine CSV-Zeile
        je Sekunde Mitschnittzeit</translation>
    </message>
    <message>
        <source>tarvo-cli watch IFACE [--ini FILE] [--seconds N] [--history FILE] [--every N]
                       [--status-socket PATH] [--metrics-file PATH] [--alerts]</source>
        <translation>tarvo-cli watch IFACE [--ini FILE] [--seconds N] [--history FILE] [--every N]
                       [--status-socket PATH] [--metrics-file PATH] [--alerts]</translation>
    </message>
    <message>
        <source>runs the classifier and the bucket on a live adapter, one line a second, with
        the capture&apos;s own counts</source>
        <translation>lässt Klassifizierer und Eimer auf einem laufenden Adapter laufen, eine Zeile je Sekunde,
        mit den eigenen Zählern des Mitschnitts</translation>
    </message>
    <message>
        <source>tarvo-cli history [--db FILE] [--by minute|hour|day] [--from DATE] [--to DATE] [--hosts] [--json]</source>
        <translation>tarvo-cli history [--db FILE] [--by minute|hour|day] [--from DATE] [--to DATE] [--hosts] [--json]</translation>
    </message>
    <message>
        <source>prints the usage history, one CSV line per period with its local start</source>
        <translation>gibt den Nutzungsverlauf aus, eine CSV-Zeile je Zeitraum mit seinem örtlichen Beginn</translation>
    </message>
    <message>
        <source>tarvo-cli plan SIZE [--speed BYTES_PER_S] [--ini FILE] [--at TIME]</source>
        <translation>tarvo-cli plan SIZE [--speed BYTES_PER_S] [--ini FILE] [--at TIME]</translation>
    </message>
    <message>
        <source>tells when a download of SIZE (3GB, 500MB, ...; 1 KB = 1024 bytes) would be throttled
        and cut off, and the earliest start within 7 days at which it stays below the
        throttle limit; the bucket is the settings&apos; saved one, drained up to the start</source>
        <translation>sagt, wann ein Download von SIZE (3GB, 500MB, ...; 1 KB = 1024 Bytes) gedrosselt und
        abgeschaltet würde, und den frühesten Beginn binnen 7 Tagen, bei dem er unter der
        Drosselgrenze bleibt; der Eimer ist der gespeicherte, bis zum Beginn entleert</translation>
    </message>
    <message>
        <source>plan: --ini defaults to the program&apos;s own tarvo.ini; exit status 0 when the download fits
now, 1 when it does not (the text says when it would).
</source>
        <translation>plan: --ini ist ohne Angabe die eigene tarvo.ini des Programms; Rückgabewert 0, wenn der
Download jetzt passt, 1, wenn nicht (der Text sagt, wann er passen würde).
</translation>
    </message>
    <message>
        <source>tarvo-cli status [--json] [--socket PATH]</source>
        <translation>tarvo-cli status [--json] [--socket PATH]</translation>
    </message>
    <message>
        <source>prints the running Tarvo&apos;s figures as one line, for status bars</source>
        <translation>gibt die Werte des laufenden Tarvo als eine Zeile aus, für Statusleisten</translation>
    </message>
    <message>
        <source>status ends with 3 when no Tarvo is running and with 4 when the running one does not answer
within 2 seconds.
</source>
        <translation>status endet mit 3, wenn kein Tarvo läuft, und mit 4, wenn der laufende nicht binnen
2 Sekunden antwortet.
</translation>
    </message>
    <message>
        <source>tarvo-cli set-bucket BYTES|N% [--level]</source>
        <translation>tarvo-cli set-bucket BYTES|N% [--level]</translation>
    </message>
    <message>
        <source>sets the running Tarvo&apos;s bucket from the provider&apos;s remaining allowance (bytes,
        units as for SIZE, or N% of the cut-off limit in force), recorded in the usage history</source>
        <translation>setzt den Eimer des laufenden Tarvo nach dem verbleibenden Kontingent des Anbieters (Bytes,
        Einheiten wie bei SIZE, oder N% der geltenden Abschaltgrenze), im Nutzungsverlauf vermerkt</translation>
    </message>
    <message>
        <source>set-bucket ends with 3 and 4 as status does, and with 5 when Tarvo refuses the figure
(no Ok yet, or beyond the bucket).
</source>
        <translation>set-bucket endet mit 3 und 4 wie status und mit 5, wenn Tarvo den Wert ablehnt
(noch kein Ok, oder außerhalb des Eimers).
</translation>
    </message>
    <message>
        <source>  --ini FILE      settings and bucket from a tarvo.ini (read only)
</source>
        <translation>  --ini FILE      Einstellungen und Eimer aus einer tarvo.ini (nur gelesen)
</translation>
    </message>
    <message>
        <source>  --used BYTES    the bucket level to start from, instead of the file&apos;s
</source>
        <translation>  --used BYTES    der Füllstand des Eimers zu Beginn, statt dem der Datei
</translation>
    </message>
    <message>
        <source>  --lan ADDR      an address that counts as this computer&apos;s (repeatable); IPv4, or IPv6
                  with or without a prefix length (2001:db8:1::/64)
</source>
        <translation>  --lan ADDR      eine Adresse, die als die dieses Rechners zählt (wiederholbar); IPv4 oder
                  IPv6 mit oder ohne Präfixlänge (2001:db8:1::/64)
</translation>
    </message>
    <message>
        <source>  --ignore ADDR   an address whose traffic never counts (repeatable), as for --lan
</source>
        <translation>  --ignore ADDR   eine Adresse, deren Verkehr nie zählt (wiederholbar), wie bei --lan
</translation>
    </message>
    <message>
        <source>  --no-192        do not count every 192.168.*.* address as the LAN&apos;s
</source>
        <translation>  --no-192        nicht jede Adresse 192.168.*.* zum LAN zählen
</translation>
    </message>
    <message>
        <source>  --mtu BYTES     the captured adapter&apos;s MTU (default 1500): a longer TCP frame was merged
                  on receipt and counts the headers of each segment; 0 counts as captured
</source>
        <translation>  --mtu BYTES     die MTU des mitgeschnittenen Adapters (Vorgabe 1500): ein längerer TCP-Rahmen
                  wurde beim Empfang zusammengefügt und zählt die Köpfe jedes Segments; 0 zählt wie mitgeschnitten
</translation>
    </message>
    <message>
        <source>  --seconds N     stop watching after N seconds (default: at SIGINT or SIGTERM)
</source>
        <translation>  --seconds N     nach N Sekunden aufhören (Vorgabe: bei SIGINT oder SIGTERM)
</translation>
    </message>
    <message>
        <source>  --history FILE  record each minute into this usage history
</source>
        <translation>  --history FILE  jede Minute in diesen Nutzungsverlauf schreiben
</translation>
    </message>
    <message>
        <source>  --every N       a line each N seconds (default 1), its down, up and packets the sums
                  of those seconds; the metrics file is written with each line
</source>
        <translation>  --every N       eine Zeile alle N Sekunden (Vorgabe 1), ihre down, up und packets die Summen
                  dieser Sekunden; die Metrikdatei wird mit jeder Zeile geschrieben
</translation>
    </message>
    <message>
        <source>  --status-socket PATH  answer tarvo-cli status --socket PATH there, as Tarvo does
</source>
        <translation>  --status-socket PATH  dort tarvo-cli status --socket PATH beantworten, wie Tarvo es tut
</translation>
    </message>
    <message>
        <source>  --metrics-file PATH  keep the figures there in the Prometheus text format, replaced whole
                  (for node_exporter&apos;s textfile collector)
</source>
        <translation>  --metrics-file PATH  die Werte dort im Textformat von Prometheus halten, jedes Mal ganz ersetzt
                  (für den Textfile-Collector von node_exporter)
</translation>
    </message>
    <message>
        <source>  --alerts        run the alert commands of the settings&apos; [Alerts] at each alert
</source>
        <translation>  --alerts        bei jedem Alarm die Alarmbefehle aus [Alerts] der Einstellungen ausführen
</translation>
    </message>
    <message>
        <source>  --db FILE       the usage history to read (default: tarvo-history.sqlite beside tarvo.ini)
</source>
        <translation>  --db FILE       der zu lesende Nutzungsverlauf (Vorgabe: tarvo-history.sqlite neben tarvo.ini)
</translation>
    </message>
    <message>
        <source>  --by SIZE       minute, hour or day periods (default: day)
</source>
        <translation>  --by SIZE       Zeiträume von minute, hour oder day (Vorgabe: day)
</translation>
    </message>
    <message>
        <source>  --from DATE     the first local date or time shown (YYYY-MM-DD or YYYY-MM-DDTHH:MM)
</source>
        <translation>  --from DATE     das erste gezeigte örtliche Datum oder die Zeit (YYYY-MM-DD oder YYYY-MM-DDTHH:MM)
</translation>
    </message>
    <message>
        <source>  --to DATE       the end: a local time, or a date whose day is included
</source>
        <translation>  --to DATE       das Ende: eine örtliche Zeit oder ein Datum, dessen Tag dazugehört
</translation>
    </message>
    <message>
        <source>  --hosts         the download of each LAN host over the periods instead
</source>
        <translation>  --hosts         stattdessen der Download jedes LAN-Rechners über die Zeiträume
</translation>
    </message>
    <message>
        <source>  --speed BYTES_PER_S  the download&apos;s speed (units as for SIZE); default: all at once,
                  the worst case, so a start that fits then fits at any speed
</source>
        <translation>  --speed BYTES_PER_S  die Geschwindigkeit des Downloads (Einheiten wie bei SIZE); Vorgabe: alles
                  auf einmal, der schlimmste Fall, sodass ein passender Beginn bei jeder Geschwindigkeit passt
</translation>
    </message>
    <message>
        <source>  --at TIME       plan from HH:MM today or YYYY-MM-DDTHH:MM instead of now
</source>
        <translation>  --at TIME       ab HH:MM heute oder YYYY-MM-DDTHH:MM planen statt ab jetzt
</translation>
    </message>
    <message>
        <source>  --json          history: one JSON object a line instead of CSV; status: one line of JSON
</source>
        <translation>  --json          history: ein JSON-Objekt je Zeile statt CSV; status: eine Zeile JSON
</translation>
    </message>
    <message>
        <source>  --socket PATH   status: ask a tarvo-cli watch --status-socket PATH instead of Tarvo
</source>
        <translation>  --socket PATH   status: ein tarvo-cli watch --status-socket PATH fragen statt Tarvo
</translation>
    </message>
    <message>
        <source>  --level         the figure is the bucket level in bytes, not the allowance left
</source>
        <translation>  --level         der Wert ist der Füllstand des Eimers in Bytes, nicht das verbleibende Kontingent
</translation>
    </message>
    <message>
        <source>  --help          this help; after a command, that command&apos;s help alone
</source>
        <translation>  --help          diese Hilfe; nach einem Befehl nur die Hilfe dieses Befehls
</translation>
    </message>
    <message>
        <source>Errors go to standard error as one line, with exit status 2.
</source>
        <translation>Fehler gehen als eine Zeile auf die Standardfehlerausgabe, mit Rückgabewert 2.
</translation>
    </message>
    <message>
        <source>usage: tarvo-cli replay|watch|history|plan|status|set-bucket ... (tarvo-cli --help tells more)</source>
        <translation>Aufruf: tarvo-cli replay|watch|history|plan|status|set-bucket ... (tarvo-cli --help sagt mehr)</translation>
    </message>
    <message>
        <source>unknown command %1 (known: replay, watch, history, plan, status, set-bucket)</source>
        <translation>unbekannter Befehl %1 (bekannt: replay, watch, history, plan, status, set-bucket)</translation>
    </message>
    <message>
        <source>cannot write the metrics file %1: %2</source>
        <translation>kann die Metrikdatei %1 nicht schreiben: %2</translation>
    </message>
    <message>
        <source>--every needs a whole number of seconds above 0, not &quot;%1&quot;</source>
        <translation>--every braucht eine ganze Zahl von Sekunden über 0, nicht „%1“</translation>
    </message>
    <message>
        <source>%1 is there already and is no socket</source>
        <translation>%1 gibt es schon, und es ist kein Socket</translation>
    </message>
    <message>
        <source>cannot listen on the status socket %1</source>
        <translation>kann nicht am Status-Socket %1 lauschen</translation>
    </message>
</context>
</TS>
