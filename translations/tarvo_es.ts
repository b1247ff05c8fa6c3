<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Tarvo</source>
        <translation>Acerca de Tarvo</translation>
    </message>
    <message>
        <source>Tarvo on the web</source>
        <translation>Tarvo en la web</translation>
    </message>
    <message>
        <source>Version: %1</source>
        <translation>Versión: %1</translation>
    </message>
    <message>
        <source>Internet through satellite from KELMIRA</source>
        <translation>Internet por satélite de KELMIRA</translation>
    </message>
    <message>
        <source>Kelmira Software</source>
        <translation>Kelmira Software</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>This software makes use of the libpcap packet capture library.
Portions of this program are based on the work of others, with our thanks.
This program is free software: you may share and change it under the GNU General Public License, version 3 or any later version. It comes with no warranty.</source>
        <translation>Este software utiliza la biblioteca de captura de paquetes libpcap.
Partes de este programa se basan en el trabajo de otros, a quienes damos las gracias.
Este programa es software libre: puede compartirlo y modificarlo según la Licencia Pública General de GNU, versión 3 o cualquier versión posterior. Se distribuye sin ninguna garantía.</translation>
    </message>
    <message>
        <source>Copyright (C) Kelmira Software. GNU GPL 3 or later.</source>
        <translation>Copyright (C) Kelmira Software. GNU GPL 3 o posterior.</translation>
    </message>
</context>
<context>
    <name>Adapters</name>
    <message>
        <source>No description available</source>
        <translation>No hay descripción disponible</translation>
    </message>
    <message>
        <source>Bridge</source>
        <translation>Puente</translation>
    </message>
    <message>
        <source>Bond</source>
        <translation>Agregado</translation>
    </message>
    <message>
        <source>Tunnel</source>
        <translation>Túnel</translation>
    </message>
    <message>
        <source>Virtual Ethernet</source>
        <translation>Ethernet virtual</translation>
    </message>
</context>
<context>
    <name>AlertCommands</name>
    <message>
        <source>(no output)</source>
        <translation>(sin salida)</translation>
    </message>
    <message>
        <source>Alert command %1 was stopped after %2 s. Output: %3</source>
        <translation>El comando de alerta %1 se detuvo tras %2 s. Salida: %3</translation>
    </message>
    <message>
        <source>Alert command %1 crashed. Output: %2</source>
        <translation>El comando de alerta %1 falló de forma abrupta. Salida: %2</translation>
    </message>
    <message>
        <source>Alert command %1 ended with exit status %2. Output: %3</source>
        <translation>El comando de alerta %1 terminó con el estado de salida %2. Salida: %3</translation>
    </message>
    <message>
        <source>Alert command %1 could not start: %2</source>
        <translation>El comando de alerta %1 no pudo iniciarse: %2</translation>
    </message>
</context>
<context>
    <name>AlertRules</name>
    <message>
        <source>Capture stopped</source>
        <translation>Captura detenida</translation>
    </message>
    <message>
        <source>%1. Downloads are not counted until it is back.</source>
        <translation>%1. Las descargas no se cuentan hasta que vuelva.</translation>
    </message>
    <message>
        <source>Frames dropped</source>
        <translation>Tramas descartadas</translation>
    </message>
    <message>
        <source>Frames dropped by the capture: %1. The bucket misses their bytes.</source>
        <translation>Tramas descartadas por la captura: %1. Sus bytes faltan en el cubo.</translation>
    </message>
    <message>
        <source>%1 bytes to throttle, %2 at the current speed.</source>
        <translation>%1 bytes hasta la limitación, %2 a la velocidad actual.</translation>
    </message>
    <message>
        <source>%1 bytes to throttle.</source>
        <translation>%1 bytes hasta la limitación.</translation>
    </message>
    <message>
        <source>%1 % of the way to the throttle limit</source>
        <translation>%1 % del camino hasta el límite de limitación</translation>
    </message>
    <message>
        <source>At the current speed you will be throttled in %1 minute (at about %2): %3 bytes to throttle.</source>
        <translation>A la velocidad actual se le limitará en %1 minuto (hacia las %2): %3 bytes hasta la limitación.</translation>
    </message>
    <message>
        <source>At the current speed you will be throttled in %1 minutes (at about %2): %3 bytes to throttle.</source>
        <translation>A la velocidad actual se le limitará en %1 minutos (hacia las %2): %3 bytes hasta la limitación.</translation>
    </message>
    <message>
        <source>Throttled soon</source>
        <translation>Limitación inminente</translation>
    </message>
    <message>
        <source>Cut off.</source>
        <translation>Cortado.</translation>
    </message>
    <message>
        <source>Cut off until about %1; full recovery at about %2.</source>
        <translation>Cortado hasta las %1 aprox.; recuperación total hacia las %2.</translation>
    </message>
    <message>
        <source>Cut off until about %1.</source>
        <translation>Cortado hasta las %1 aprox.</translation>
    </message>
    <message>
        <source>full recovery at about %1.</source>
        <translation>recuperación total hacia las %1.</translation>
    </message>
    <message>
        <source>Cut off</source>
        <translation>Cortado</translation>
    </message>
    <message>
        <source>Still throttled until about %1.</source>
        <translation>Sigue limitado hasta las %1 aprox.</translation>
    </message>
    <message>
        <source>Still throttled.</source>
        <translation>Sigue limitado.</translation>
    </message>
    <message>
        <source>Below the throttle limit again: %1 bytes to throttle.</source>
        <translation>De nuevo bajo el límite de limitación: %1 bytes hasta la limitación.</translation>
    </message>
    <message>
        <source>Downloads run again.</source>
        <translation>Las descargas funcionan de nuevo.</translation>
    </message>
    <message>
        <source>Cut-off released</source>
        <translation>Corte levantado</translation>
    </message>
    <message>
        <source>%1 bytes to cut off; below the throttle limit again at about %2.</source>
        <translation>%1 bytes hasta el corte; de nuevo bajo el límite de limitación hacia las %2.</translation>
    </message>
    <message>
        <source>%1 bytes to cut off.</source>
        <translation>%1 bytes hasta el corte.</translation>
    </message>
    <message>
        <source>Throttled</source>
        <translation>Limitado</translation>
    </message>
    <message>
        <source>No longer throttled</source>
        <translation>Ya no está limitado</translation>
    </message>
    <message>
        <source>%1 Downloaded most in the last hour: %2.</source>
        <translation>%1 Lo que más descargó en la última hora: %2.</translation>
    </message>
</context>
<context>
    <name>AlertsTab</name>
    <message>
        <source>Show desktop notifications</source>
        <translation>Mostrar notificaciones de escritorio</translation>
    </message>
    <message>
        <source>Warn me before the throttle</source>
        <translation>Avisarme antes de la limitación</translation>
    </message>
    <message>
        <source>At these parts of the way to the throttle limit ( % )</source>
        <translation>En estas partes del camino al límite de limitación ( % )</translation>
    </message>
    <message>
        <source>e.g. 75,90</source>
        <translation>p. ej. 75,90</translation>
    </message>
    <message>
        <source>never</source>
        <translation>nunca</translation>
    </message>
    <message>
        <source>When the time to throttle drops below ( min )</source>
        <translation>Cuando el tiempo hasta la limitación baje de ( min )</translation>
    </message>
    <message>
        <source>Tarvo also tells you when you are throttled or cut off, when the bucket is below the limits again, and when the capture stops or drops frames. Without a notification service on the desktop the tray icon shows them, without a tray the status line of the monitor window.</source>
        <translation>Tarvo también avisa cuando se le limita o se le corta, cuando el cubo vuelve a estar bajo los límites y cuando la captura se detiene o descarta tramas. Sin servicio de notificaciones en el escritorio los muestra el icono de la bandeja; sin bandeja, la línea de estado de la ventana del monitor.</translation>
    </message>
    <message>
        <source>Run a command at each alert</source>
        <translation>Ejecutar un comando en cada alerta</translation>
    </message>
    <message>
        <source>Run without a shell; the alert&apos;s figures are in TARVO_ALERT, TARVO_PERCENT, TARVO_LEVEL_BYTES and the other TARVO_ variables. Leave it empty to run nothing.</source>
        <translation>Se ejecuta sin shell; los datos de la alerta están en TARVO_ALERT, TARVO_PERCENT, TARVO_LEVEL_BYTES y las demás variables TARVO_. Déjelo vacío para no ejecutar nada.</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Comando</translation>
    </message>
    <message>
        <source>Metered connection</source>
        <translation>Conexión de uso medido</translation>
    </message>
    <message>
        <source>Mark the connection as metered when the bucket is above %1 % of the way to the throttle limit</source>
        <translation>Marcar la conexión como de uso medido cuando el cubo supere el %1 % del camino al límite de limitación</translation>
    </message>
    <message>
        <source>System updates, app stores and cloud sync wait while the connection is metered. NetworkManager changes it for the running connection only; Tarvo puts back the earlier value below the step and when it ends.</source>
        <translation>Las actualizaciones del sistema, las tiendas de aplicaciones y la sincronización en la nube esperan mientras la conexión es de uso medido. NetworkManager lo cambia solo para la conexión en curso; Tarvo restablece el valor anterior por debajo del escalón y al terminar.</translation>
    </message>
</context>
<context>
    <name>CaptureThread</name>
    <message>
        <source>Could not open device
%1</source>
        <translation>No se pudo abrir el dispositivo
%1</translation>
    </message>
    <message>
        <source>%1 carries frames of type %2, which Tarvo cannot read</source>
        <translation>%1 lleva tramas de tipo %2, que Tarvo no sabe leer</translation>
    </message>
    <message>
        <source>Capture stopped: %1 is gone</source>
        <translation>Captura detenida: %1 ya no está</translation>
    </message>
    <message>
        <source>Capture stopped: %1: %2</source>
        <translation>Captura detenida: %1: %2</translation>
    </message>
    <message>
        <source>Capture resumed: %1 is back</source>
        <translation>Captura reanudada: %1 ha vuelto</translation>
    </message>
</context>
<context>
    <name>Controller</name>
    <message>
        <source>Error in pcap_findalldevs: 
%1</source>
        <translation>Error en pcap_findalldevs: 
%1</translation>
    </message>
    <message>
        <source>First start: Tarvo does not know how full your bucket is. Type it above, or press &quot;max&quot; if you have not used the internet for more than 12 hours.</source>
        <translation>Primer inicio: Tarvo no sabe cuán lleno está su cubo. Escríbalo arriba, o pulse «máx» si no ha usado internet en más de 12 horas.</translation>
    </message>
    <message>
        <source>Tarvo can not determine the last time it was used</source>
        <translation>Tarvo no puede saber cuándo se usó por última vez</translation>
    </message>
    <message>
        <source>Tarvo can not determine the time it was last used, therefore it can not calculate your actual FAP level. Please fill it in manually. If you haven&apos;t used the internet for more than 12 hours, click the max button next to the edit. If this is the first time you use Tarvo, just ignore this message.</source>
        <translation>Tarvo no puede saber cuándo se usó por última vez, así que no puede calcular su nivel FAP actual. Rellénelo a mano. Si no ha usado internet en más de 12 horas, pulse el botón «máx» junto al campo. Si es la primera vez que usa Tarvo, ignore este mensaje.</translation>
    </message>
    <message>
        <source>Saving to %1 works again</source>
        <translation>Guardar en %1 funciona de nuevo</translation>
    </message>
    <message>
        <source>Please select a network adapter from the Network tab ( first tab ).</source>
        <translation>Seleccione un adaptador de red en la pestaña Red ( primera pestaña ).</translation>
    </message>
    <message>
        <source>In order to continue you must add at least one LAN IP ( this computer&apos;s ).</source>
        <translation>Para continuar debe añadir al menos una IP de la LAN ( la de este equipo ).</translation>
    </message>
    <message>
        <source>Frames dropped by the capture: %1</source>
        <translation>Tramas descartadas por la captura: %1</translation>
    </message>
    <message>
        <source>Bucket set from the provider&apos;s figure: %1 bytes (Tarvo had counted %2).</source>
        <translation>Cubo ajustado según la cifra del proveedor: %1 bytes (Tarvo había contado %2).</translation>
    </message>
    <message>
        <source>The bucket is set at the first Ok of the options.</source>
        <translation>El cubo se ajusta con el primer Aceptar de las opciones.</translation>
    </message>
    <message>
        <source>The provider&apos;s figure is beyond what the bucket holds.</source>
        <translation>La cifra del proveedor supera lo que cabe en el cubo.</translation>
    </message>
    <message>
        <source>The history window could not be loaded: %1</source>
        <translation>No se pudo cargar la ventana del historial: %1</translation>
    </message>
</context>
<context>
    <name>CosmeticTab</name>
    <message>
        <source>Ping settings</source>
        <translation>Ajustes de ping</translation>
    </message>
    <message>
        <source>Reference URL ( ie. %1 )</source>
        <translation>URL de referencia ( p. ej. %1 )</translation>
    </message>
    <message>
        <source>Timeout ( sec )</source>
        <translation>Tiempo límite ( s )</translation>
    </message>
    <message>
        <source>TTL ( ping packet time to live )</source>
        <translation>TTL ( tiempo de vida del paquete )</translation>
    </message>
    <message>
        <source>Packet size</source>
        <translation>Tamaño del paquete</translation>
    </message>
    <message>
        <source>Window transparency ( needs a desktop that composites its windows )</source>
        <translation>Transparencia ( requiere un escritorio con composición )</translation>
    </message>
    <message>
        <source>Transparent</source>
        <translation>Transparente</translation>
    </message>
    <message>
        <source>Opaque</source>
        <translation>Opaca</translation>
    </message>
    <message>
        <source>Tray bar icon</source>
        <translation>Icono de la bandeja</translation>
    </message>
    <message>
        <source>Graphic</source>
        <translation>Gráfico</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Texto</translation>
    </message>
    <message>
        <source>Traffic chart</source>
        <translation>Gráfico de tráfico</translation>
    </message>
    <message>
        <source>History length ( sec )</source>
        <translation>Duración del historial ( s )</translation>
    </message>
    <message>
        <source>Auto scale Y axis</source>
        <translation>Escalar el eje Y automáticamente</translation>
    </message>
    <message>
        <source>Start Tarvo when I log in</source>
        <translation>Iniciar Tarvo al iniciar sesión</translation>
    </message>
    <message>
        <source>Always on top</source>
        <translation>Siempre visible</translation>
    </message>
    <message>
        <source>Start minimized</source>
        <translation>Iniciar minimizado</translation>
    </message>
</context>
<context>
    <name>HistoryStore</name>
    <message>
        <source>The usage history %1 could not be read (%2); it was moved to %3 and a new one was started</source>
        <translation>No se pudo leer el historial de uso %1 (%2); se movió a %3 y se empezó uno nuevo</translation>
    </message>
    <message>
        <source>unknown version %1</source>
        <translation>versión desconocida %1</translation>
    </message>
    <message>
        <source>not a usage history of Tarvo</source>
        <translation>no es un historial de uso de Tarvo</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 no existe</translation>
    </message>
    <message>
        <source>%1 is damaged (%2) and could not be moved aside</source>
        <translation>%1 está dañado (%2) y no se pudo apartar</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Tarvo history</source>
        <translation>Historial de Tarvo</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Día</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Mes</translation>
    </message>
    <message>
        <source>last 24 hours</source>
        <translation>últimas 24 horas</translation>
    </message>
    <message>
        <source>last 7 days</source>
        <translation>últimos 7 días</translation>
    </message>
    <message>
        <source>Bucket level</source>
        <translation>Nivel del cubo</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>Mes anterior</translation>
    </message>
    <message>
        <source>Previous day</source>
        <translation>Día anterior</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Mes siguiente</translation>
    </message>
    <message>
        <source>Next day</source>
        <translation>Día siguiente</translation>
    </message>
    <message>
        <source>Per day</source>
        <translation>Por día</translation>
    </message>
    <message>
        <source>Per hour</source>
        <translation>Por hora</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Descarga</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Subida</translation>
    </message>
    <message>
        <source>LAN host</source>
        <translation>Equipo de la LAN</translation>
    </message>
    <message>
        <source>Downloaded ( bytes )</source>
        <translation>Descargado ( bytes )</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Parte</translation>
    </message>
    <message>
        <source>Bucket level, %1</source>
        <translation>Nivel del cubo, %1</translation>
    </message>
    <message>
        <source>Throttle limit</source>
        <translation>Límite de limitación</translation>
    </message>
    <message>
        <source>Cut-off limit</source>
        <translation>Límite de corte</translation>
    </message>
    <message>
        <source>Local time</source>
        <translation>Hora local</translation>
    </message>
    <message>
        <source>No bucket level was recorded in the %1.</source>
        <translation>No se registró nivel del cubo (%1).</translation>
    </message>
    <message>
        <source>Day of the month</source>
        <translation>Día del mes</translation>
    </message>
    <message>
        <source>Hour (local time; under an hour that came twice, its offset from UTC)</source>
        <translation>Hora (hora local; bajo una hora repetida, su desfase respecto a UTC)</translation>
    </message>
    <message>
        <source>Hour (local time)</source>
        <translation>Hora (hora local)</translation>
    </message>
    <message>
        <source>in this month</source>
        <translation>en este mes</translation>
    </message>
    <message>
        <source>on this day</source>
        <translation>en este día</translation>
    </message>
    <message>
        <source>No traffic was recorded %1.</source>
        <translation>No se registró tráfico %1.</translation>
    </message>
    <message>
        <source>Downloaded: %1 bytes    Uploaded: %2 bytes</source>
        <translation>Descargado: %1 bytes    Subido: %2 bytes</translation>
    </message>
    <message>
        <source>No LAN host downloaded anything %1.</source>
        <translation>Ningún equipo de la LAN descargó nada %1.</translation>
    </message>
    <message>
        <source>Set at</source>
        <translation>Ajustado el</translation>
    </message>
    <message>
        <source>Tarvo&apos;s level ( bytes )</source>
        <translation>Nivel de Tarvo ( bytes )</translation>
    </message>
    <message>
        <source>Provider&apos;s level ( bytes )</source>
        <translation>Nivel del proveedor ( bytes )</translation>
    </message>
    <message>
        <source>Tarvo ahead by ( bytes )</source>
        <translation>Tarvo por delante en ( bytes )</translation>
    </message>
    <message>
        <source>Corrections</source>
        <translation>Correcciones</translation>
    </message>
    <message>
        <source>No corrections yet: &quot;Set bucket from provider...&quot; in the File menu records one.</source>
        <translation>Aún no hay correcciones: «Ajustar el cubo según el proveedor...» del menú Archivo registra una.</translation>
    </message>
    <message>
        <source>The drift shows from the second correction on.</source>
        <translation>La desviación se muestra a partir de la segunda corrección.</translation>
    </message>
    <message>
        <source>Tarvo runs ahead of the provider by %1 MB a day.</source>
        <translation>Tarvo va por delante del proveedor en %1 MB al día.</translation>
    </message>
    <message>
        <source>Tarvo runs behind the provider by %1 MB a day.</source>
        <translation>Tarvo va por detrás del proveedor en %1 MB al día.</translation>
    </message>
</context>
<context>
    <name>HistoryWriter</name>
    <message>
        <source>Could not write the usage history %1: %2. The minutes are kept and written later</source>
        <translation>No se pudo escribir el historial de uso %1: %2. Los minutos se guardan y se escribirán más tarde</translation>
    </message>
    <message>
        <source>Writing the usage history %1 works again</source>
        <translation>Escribir el historial de uso %1 funciona de nuevo</translation>
    </message>
    <message>
        <source>Could not record the correction of the bucket in the usage history %1: %2</source>
        <translation>No se pudo registrar la corrección del cubo en el historial de uso %1: %2</translation>
    </message>
</context>
<context>
    <name>HttpFetch</name>
    <message>
        <source>The server did not answer in time (%1 s)</source>
        <translation>El servidor no respondió a tiempo (%1 s)</translation>
    </message>
    <message>
        <source>Not a web address: %1</source>
        <translation>No es una dirección web: %1</translation>
    </message>
    <message>
        <source>The reply is larger than %1 bytes</source>
        <translation>La respuesta ocupa más de %1 bytes</translation>
    </message>
</context>
<context>
    <name>IcmpEcho</name>
    <message>
        <source>Unable to open an ICMP datagram socket (%1): allow ICMP sockets with net.ipv4.ping_group_range</source>
        <translation>No se puede abrir un socket de datagramas ICMP (%1): permita los sockets ICMP con net.ipv4.ping_group_range</translation>
    </message>
    <message>
        <source>Unable to open an ICMP socket (%1): the latency probe needs CAP_NET_RAW: run scripts/run, or allow ICMP sockets with net.ipv4.ping_group_range</source>
        <translation>No se puede abrir un socket ICMP (%1): la medida de latencia necesita CAP_NET_RAW: ejecute scripts/run o permita los sockets ICMP con net.ipv4.ping_group_range</translation>
    </message>
    <message>
        <source>Unable to open an ICMP socket: %1</source>
        <translation>No se puede abrir un socket ICMP: %1</translation>
    </message>
    <message>
        <source>Unable to create the wake-up event of the ICMP socket: %1</source>
        <translation>No se puede crear el evento de activación del socket ICMP: %1</translation>
    </message>
    <message>
        <source>Unable to bind the ICMP datagram socket: %1</source>
        <translation>No se puede enlazar el socket de datagramas ICMP: %1</translation>
    </message>
</context>
<context>
    <name>InstallerDownload</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>No se puede escribir en %1</translation>
    </message>
    <message>
        <source>The download stalled: nothing arrived for %1 s</source>
        <translation>La descarga se detuvo: no llegó nada en %1 s</translation>
    </message>
    <message>
        <source>Not a web address: %1</source>
        <translation>No es una dirección web: %1</translation>
    </message>
    <message>
        <source>The download is larger than %1 bytes, more than an update can be</source>
        <translation>La descarga ocupa más de %1 bytes, más de lo que puede ocupar una actualización</translation>
    </message>
    <message>
        <source>The connection ended before the whole download arrived</source>
        <translation>La conexión terminó antes de que llegara toda la descarga</translation>
    </message>
</context>
<context>
    <name>LevelCurve</name>
    <message>
        <source>throttle %1 MB</source>
        <translation>limitación %1 MB</translation>
    </message>
    <message>
        <source>cut off %1 MB</source>
        <translation>corte %1 MB</translation>
    </message>
</context>
<context>
    <name>MeteredConnection</name>
    <message>
        <source>NetworkManager answered GetAppliedConnection with %1</source>
        <translation>NetworkManager respondió a GetAppliedConnection con %1</translation>
    </message>
</context>
<context>
    <name>MeteredSwitch</name>
    <message>
        <source>Tarvo could not change the metered state of %1: %2</source>
        <translation>Tarvo no pudo cambiar el estado de uso medido de %1: %2</translation>
    </message>
    <message>
        <source>NetworkManager is not running: Tarvo cannot change the metered state of %1.</source>
        <translation>NetworkManager no está en marcha: Tarvo no puede cambiar el estado de uso medido de %1.</translation>
    </message>
    <message>
        <source>NetworkManager refused to let Tarvo change the metered state of %1.</source>
        <translation>NetworkManager no permitió a Tarvo cambiar el estado de uso medido de %1.</translation>
    </message>
    <message>
        <source>NetworkManager does not manage %1: Tarvo cannot change its metered state.</source>
        <translation>NetworkManager no gestiona %1: Tarvo no puede cambiar su estado de uso medido.</translation>
    </message>
</context>
<context>
    <name>MonitorWindow</name>
    <message>
        <source>No system tray: closing this window minimises it; File &gt; Close ends Tarvo.</source>
        <translation>Sin bandeja: cerrar esta ventana la minimiza; Archivo &gt; Cerrar termina Tarvo.</translation>
    </message>
    <message>
        <source>%1 bytes / s</source>
        <translation>%1 bytes/s</translation>
    </message>
    <message>
        <source>Show more</source>
        <translation>Mostrar más</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Herramientas</translation>
    </message>
    <message>
        <source>Options...</source>
        <translation>Opciones...</translation>
    </message>
    <message>
        <source>Will it fit?...</source>
        <translation>¿Cabe?...</translation>
    </message>
    <message>
        <source>History...</source>
        <translation>Historial...</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Internet and other satellite services from KELMIRA</source>
        <translation>Internet y otros servicios por satélite de KELMIRA</translation>
    </message>
    <message>
        <source>Kelmira Software</source>
        <translation>Kelmira Software</translation>
    </message>
    <message>
        <source>Tarvo on the web</source>
        <translation>Tarvo en la web</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Mostrar</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>Always on top</source>
        <translation>Siempre visible</translation>
    </message>
    <message>
        <source>Reset interface counters ( does not affect FAP calculations )</source>
        <translation>Reiniciar contadores de la interfaz ( no afecta al cálculo FAP )</translation>
    </message>
    <message>
        <source>Reset FAP level</source>
        <translation>Reiniciar nivel FAP</translation>
    </message>
    <message>
        <source>Total bytes downloaded so far:</source>
        <translation>Bytes descargados:</translation>
    </message>
    <message>
        <source>FAP level:</source>
        <translation>Nivel FAP:</translation>
    </message>
    <message>
        <source>Download speed ( average )</source>
        <translation>Descarga ( media )</translation>
    </message>
    <message>
        <source>Download speed ( instant )</source>
        <translation>Descarga ( actual )</translation>
    </message>
    <message>
        <source>Full recovery time:</source>
        <translation>Recuperación:</translation>
    </message>
    <message>
        <source>Bytes to throttle:</source>
        <translation>Hasta limitar:</translation>
    </message>
    <message>
        <source>Bytes to cut off:</source>
        <translation>Hasta cortar:</translation>
    </message>
    <message>
        <source>Time to throttle:</source>
        <translation>Limitación en:</translation>
    </message>
    <message>
        <source>Time to cut off:</source>
        <translation>Corte en:</translation>
    </message>
    <message>
        <source>Upload speed ( average )</source>
        <translation>Subida ( media )</translation>
    </message>
    <message>
        <source>Upload speed ( instant )</source>
        <translation>Subida ( actual )</translation>
    </message>
    <message>
        <source>Upload bytes ( total ):</source>
        <translation>Subida ( total ):</translation>
    </message>
    <message>
        <source>Ping ( ms ):</source>
        <translation>Ping ( ms ):</translation>
    </message>
    <message>
        <source>Packets / s:</source>
        <translation>Paquetes / s:</translation>
    </message>
    <message>
        <source>Average packet size:</source>
        <translation>Tamaño medio:</translation>
    </message>
    <message>
        <source>Packets received:</source>
        <translation>Recibidos:</translation>
    </message>
    <message>
        <source>Packets sent:</source>
        <translation>Enviados:</translation>
    </message>
    <message>
        <source>Restrictions:</source>
        <translation>Restricción:</translation>
    </message>
    <message>
        <source>Tarvo
FAP level: %1%
Restrictions: %2</source>
        <translation>Tarvo
Nivel FAP: %1%
Restricción: %2</translation>
    </message>
    <message>
        <source>Reset all counters?</source>
        <translation>¿Reiniciar todos los contadores?</translation>
    </message>
    <message>
        <source>This will reset all Tarvo counters, as well as set your FAP level to maximum. Are you sure you want to proceed?</source>
        <translation>Esto reiniciará todos los contadores de Tarvo y pondrá su nivel FAP al máximo. ¿Seguro que desea continuar?</translation>
    </message>
    <message>
        <source>Set bucket from provider...</source>
        <translation>Ajustar el cubo según el proveedor...</translation>
    </message>
    <message>
        <source>Programs...</source>
        <translation>Programas...</translation>
    </message>
</context>
<context>
    <name>NetworkTab</name>
    <message>
        <source>or IPv6</source>
        <translation>o IPv6</translation>
    </message>
    <message>
        <source>Please select the device corresponding to your Direcway connection from the list below</source>
        <translation>Seleccione abajo el dispositivo de su conexión Direcway</translation>
    </message>
    <message>
        <source>IP Address in your LAN</source>
        <translation>Dirección IP en su LAN</translation>
    </message>
    <message>
        <source>Add new IP</source>
        <translation>Añadir IP</translation>
    </message>
    <message>
        <source>Delete selected IP</source>
        <translation>Borrar IP</translation>
    </message>
    <message>
        <source>Use all 192.168.*.* IPs as LAN</source>
        <translation>Usar todas las IP 192.168.*.* como LAN</translation>
    </message>
    <message>
        <source>Use this adapter&apos;s IPv6 networks as LAN</source>
        <translation>Usar las redes IPv6 de este adaptador como LAN</translation>
    </message>
    <message>
        <source>See my public IP</source>
        <translation>Ver mi IP pública</translation>
    </message>
    <message>
        <source>Add my public IP</source>
        <translation>Añadir mi IP pública</translation>
    </message>
    <message>
        <source>IP Addresses to exclude from count ( e.g. www.direcway.example - 203.0.113.10 )</source>
        <translation>IP que no cuentan ( p. ej. www.direcway.example - 203.0.113.10 )</translation>
    </message>
</context>
<context>
    <name>OptionValues</name>
    <message>
        <source>a number</source>
        <translation>un número</translation>
    </message>
    <message>
        <source>0 or more and less than %1</source>
        <translation>0 o más y menos de %1</translation>
    </message>
    <message>
        <source>a whole number</source>
        <translation>un número entero</translation>
    </message>
    <message>
        <source>from %1 to %2</source>
        <translation>de %1 a %2</translation>
    </message>
    <message>
        <source>The value of &quot;%1&quot; must be %2.</source>
        <translation>El valor de «%1» debe ser %2.</translation>
    </message>
    <message>
        <source>FAP recharge rate in KB/s</source>
        <translation>Tasa de recarga FAP en KB/s</translation>
    </message>
    <message>
        <source>The value of &quot;At these parts of the way to the throttle limit ( % )&quot; must be whole percentages from 1 to 99, separated by commas (such as 75,90), or nothing.</source>
        <translation>El valor de «En estas partes del camino al límite de limitación ( % )» deben ser porcentajes enteros de 1 a 99 separados por comas (como 75,90), o nada.</translation>
    </message>
    <message>
        <source>The value of &quot;Cut off limit in MB&quot; must not be below the &quot;Throttle limit in MB&quot;.</source>
        <translation>El valor de «Límite de corte en MB» no puede ser menor que el «Límite de limitación en MB».</translation>
    </message>
</context>
<context>
    <name>OptionsWindow</name>
    <message>
        <source>Tarvo - Options</source>
        <translation>Tarvo - Opciones</translation>
    </message>
    <message>
        <source>Network settings</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>Direcway settings</source>
        <translation>Direcway</translation>
    </message>
    <message>
        <source>Cosmetic and others</source>
        <translation>Aspecto y otros</translation>
    </message>
    <message>
        <source>Alerts</source>
        <translation>Avisos</translation>
    </message>
    <message>
        <source>Always show this window when Tarvo starts</source>
        <translation>Mostrar esta ventana al iniciar Tarvo</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>PlanTab</name>
    <message>
        <source>Auto fill from plan ( please select plan from list below )</source>
        <translation>Rellenar desde un plan ( elija un plan de la lista )</translation>
    </message>
    <message>
        <source>FAP recharge rate in KB/s:</source>
        <translation>Tasa de recarga FAP en KB/s:</translation>
    </message>
    <message>
        <source>Cut off limit in MB</source>
        <translation>Límite de corte en MB</translation>
    </message>
    <message>
        <source>Throttle limit in MB</source>
        <translation>Límite de limitación en MB</translation>
    </message>
    <message>
        <source>max</source>
        <translation>máx</translation>
    </message>
    <message>
        <source>Cumulative download in MB</source>
        <translation>Descarga acumulada en MB</translation>
    </message>
    <message>
        <source>Off peak settings ( US only ). Check this box to use.</source>
        <translation>Horario fuera de punta ( solo EE. UU. ). Márquelo para usarlo.</translation>
    </message>
    <message>
        <source>Off peak cut off limit in MB</source>
        <translation>Límite de corte fuera de punta en MB</translation>
    </message>
    <message>
        <source>Off peak start time</source>
        <translation>Inicio fuera de punta</translation>
    </message>
    <message>
        <source>Off peak end time</source>
        <translation>Fin fuera de punta</translation>
    </message>
</context>
<context>
    <name>PlanText</name>
    <message>
        <source>%1 day %2</source>
        <translation>%1 día %2</translation>
    </message>
    <message>
        <source>%1 days %2</source>
        <translation>%1 días %2</translation>
    </message>
    <message>
        <source>in %1, at %2</source>
        <translation>en %1, a las %2</translation>
    </message>
    <message>
        <source>It will not be throttled.</source>
        <translation>No se limitará.</translation>
    </message>
    <message>
        <source>The bucket is above the throttle limit already.</source>
        <translation>El cubo ya está por encima del límite de limitación.</translation>
    </message>
    <message>
        <source>Throttled %1.</source>
        <translation>Limitado %1.</translation>
    </message>
    <message>
        <source>It will not be cut off.</source>
        <translation>No se cortará.</translation>
    </message>
    <message>
        <source>Cut off already: the download waits until the cut-off lifts.</source>
        <translation>Ya cortado: la descarga espera a que se levante el corte.</translation>
    </message>
    <message>
        <source>Cut off %1.</source>
        <translation>Cortado %1.</translation>
    </message>
    <message>
        <source>Not done within 7 days.</source>
        <translation>No termina en 7 días.</translation>
    </message>
    <message>
        <source>Done %1.</source>
        <translation>Terminado %1.</translation>
    </message>
    <message>
        <source>Restriction &quot;none&quot; again %1.</source>
        <translation>Restricción «ninguna» de nuevo %1.</translation>
    </message>
    <message>
        <source>No start within the next 7 days sees it done below the throttle limit.</source>
        <translation>Ningún inicio en los próximos 7 días la termina bajo el límite de limitación.</translation>
    </message>
    <message>
        <source>It fits now: it stays below the throttle limit all the way.</source>
        <translation>Cabe ahora: se mantiene bajo el límite de limitación todo el tiempo.</translation>
    </message>
    <message>
        <source>It fits if started %1.</source>
        <translation>Cabe si empieza %1.</translation>
    </message>
</context>
<context>
    <name>PlannerWindow</name>
    <message>
        <source>Will it fit?</source>
        <translation>¿Cabe?</translation>
    </message>
    <message>
        <source>bytes per second, or 200 KB</source>
        <translation>bytes por segundo, o 200 KB</translation>
    </message>
    <message>
        <source>Download size:</source>
        <translation>Tamaño de la descarga:</translation>
    </message>
    <message>
        <source>Speed per second:</source>
        <translation>Velocidad por segundo:</translation>
    </message>
    <message>
        <source>Recent average: %1 bytes / s</source>
        <translation>Media reciente: %1 bytes/s</translation>
    </message>
    <message>
        <source>In the bucket now: %1 of %2 bytes; throttled above %3%4.</source>
        <translation>En el cubo ahora: %1 de %2 bytes; limitado por encima de %3%4.</translation>
    </message>
    <message>
        <source>, CUT OFF</source>
        <translation>, CORTADO</translation>
    </message>
    <message>
        <source>Type the download&apos;s size, such as 3 GB.</source>
        <translation>Escriba el tamaño de la descarga, como 3 GB.</translation>
    </message>
    <message>
        <source>Type a speed above 0, such as 200 KB.</source>
        <translation>Escriba una velocidad mayor que 0, como 200 KB.</translation>
    </message>
</context>
<context>
    <name>Profile</name>
    <message>
        <source>Unable to write to %1
%2</source>
        <translation>No se puede escribir en %1
%2</translation>
    </message>
    <message>
        <source>The file is larger than %1 bytes</source>
        <translation>El archivo ocupa más de %1 bytes</translation>
    </message>
</context>
<context>
    <name>ProgramAttribution</name>
    <message>
        <source>not attributed</source>
        <translation>no atribuido</translation>
    </message>
    <message>
        <source>system services</source>
        <translation>servicios del sistema</translation>
    </message>
    <message>
        <source>programs of %1</source>
        <translation>programas de %1</translation>
    </message>
</context>
<context>
    <name>ProgramsWindow</name>
    <message>
        <source>Programs</source>
        <translation>Programas</translation>
    </message>
    <message>
        <source>This minute</source>
        <translation>Este minuto</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Hoy</translation>
    </message>
    <message>
        <source>Since the bucket was last empty</source>
        <translation>Desde que el cubo estuvo vacío por última vez</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programa</translation>
    </message>
    <message>
        <source>Download (bytes)</source>
        <translation>Descarga (bytes)</translation>
    </message>
    <message>
        <source>Upload (bytes)</source>
        <translation>Subida (bytes)</translation>
    </message>
    <message>
        <source>Share of download</source>
        <translation>Parte de la descarga</translation>
    </message>
    <message>
        <source>Period:</source>
        <translation>Periodo:</translation>
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
        <translation>Ajustar el cubo según el proveedor</translation>
    </message>
    <message>
        <source>Type the figure your provider&apos;s meter shows; Tarvo&apos;s bucket takes it at once.</source>
        <translation>Escriba la cifra que muestra el contador de su proveedor; el cubo de Tarvo la adopta de inmediato.</translation>
    </message>
    <message>
        <source>Remaining allowance in MB</source>
        <translation>Cuota restante en MB</translation>
    </message>
    <message>
        <source>Remaining allowance in %</source>
        <translation>Cuota restante en %</translation>
    </message>
    <message>
        <source>Bucket level in MB</source>
        <translation>Nivel del cubo en MB</translation>
    </message>
    <message>
        <source>The provider shows</source>
        <translation>El proveedor muestra</translation>
    </message>
    <message>
        <source>Figure</source>
        <translation>Cifra</translation>
    </message>
</context>
<context>
    <name>Restriction</name>
    <message>
        <source>THROTTLED</source>
        <translation>LIMITADO</translation>
    </message>
    <message>
        <source>CUT OFF</source>
        <translation>CORTADO</translation>
    </message>
    <message>
        <source>none</source>
        <translation>ninguna</translation>
    </message>
</context>
<context>
    <name>SetBucket</name>
    <message>
        <source>set-bucket needs one figure: BYTES or N% (given: %1)</source>
        <translation>set-bucket necesita una cifra: BYTES o N% (dado: %1)</translation>
    </message>
    <message>
        <source>none</source>
        <translation>ninguno</translation>
    </message>
    <message>
        <source>the level needs a number of bytes with an optional unit (60MB, 1.5GB), not &quot;%1&quot;</source>
        <translation>el nivel necesita un número de bytes con unidad opcional (60MB, 1.5GB), no «%1»</translation>
    </message>
    <message>
        <source>the remaining allowance needs a number of bytes with an optional unit (900MB) or a percentage (42%), not &quot;%1&quot;</source>
        <translation>la cuota restante necesita un número de bytes con unidad opcional (900MB) o un porcentaje (42%), no «%1»</translation>
    </message>
    <message>
        <source>Tarvo is not counting yet: the options wait for Ok</source>
        <translation>Tarvo aún no cuenta: las opciones esperan Aceptar</translation>
    </message>
    <message>
        <source>Tarvo refused the figure: it is beyond what the bucket holds</source>
        <translation>Tarvo rechazó la cifra: supera lo que cabe en el cubo</translation>
    </message>
    <message>
        <source>Bucket set to %1 bytes (Tarvo had counted %2).</source>
        <translation>Cubo ajustado a %1 bytes (Tarvo había contado %2).</translation>
    </message>
    <message>
        <source>cannot read Tarvo&apos;s answer</source>
        <translation>no se puede leer la respuesta de Tarvo</translation>
    </message>
</context>
<context>
    <name>UpdateCheck</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>No se puede escribir en %1</translation>
    </message>
    <message>
        <source>The update server sent an empty reply</source>
        <translation>El servidor de actualizaciones envió una respuesta vacía</translation>
    </message>
    <message>
        <source>The update server&apos;s reply has %1 lines, fewer than 3</source>
        <translation>La respuesta del servidor de actualizaciones tiene %1 líneas, menos de 3</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid floating point value</source>
        <translation>«%1» no es un número decimal válido</translation>
    </message>
</context>
<context>
    <name>UpdateOfferWindow</name>
    <message>
        <source>&quot;Update Now!&quot; downloads the new version, closes %1 and opens the downloaded file with the program your desktop uses for such files.</source>
        <translation>«¡Actualizar ahora!» descarga la nueva versión, cierra %1 y abre el archivo descargado con el programa que su escritorio usa para esos archivos.</translation>
    </message>
    <message>
        <source>Update Now!</source>
        <translation>¡Actualizar ahora!</translation>
    </message>
    <message>
        <source>Remind me in 5 days</source>
        <translation>Recordármelo en 5 días</translation>
    </message>
    <message>
        <source>Never remind me about updates again</source>
        <translation>No recordarme más las actualizaciones</translation>
    </message>
    <message>
        <source>New version available</source>
        <translation>Nueva versión disponible</translation>
    </message>
    <message>
        <source>Got %1 bytes of %2 total</source>
        <translation>Recibidos %1 de %2 bytes</translation>
    </message>
    <message>
        <source>The download could not be verified, so it was not opened. It is kept as %1</source>
        <translation>No se pudo verificar la descarga, así que no se abrió. Se guarda como %1</translation>
    </message>
    <message>
        <source>Please wait... downloading your update!</source>
        <translation>Espere... ¡descargando su actualización!</translation>
    </message>
</context>
<context>
    <name>UpdateStep</name>
    <message>
        <source>Update check failed: %1</source>
        <translation>Falló la comprobación de actualizaciones: %1</translation>
    </message>
    <message>
        <source>Please wait... Checking for updates</source>
        <translation>Espere... Buscando actualizaciones</translation>
    </message>
    <message>
        <source>Update check complete: No new version found</source>
        <translation>Comprobación terminada: no hay versión nueva</translation>
    </message>
    <message>
        <source>Update check complete: New version found</source>
        <translation>Comprobación terminada: hay una versión nueva</translation>
    </message>
    <message>
        <source>%1 has finished downloading the update. %1 will now close, and your desktop will open the downloaded file %2 with the program it uses for such files.</source>
        <translation>%1 ha terminado de descargar la actualización. %1 se cerrará ahora y su escritorio abrirá el archivo descargado %2 con el programa que usa para esos archivos.</translation>
    </message>
</context>
<context>
    <name>WebRequest</name>
    <message>
        <source>The server sent a redirect without a web address</source>
        <translation>El servidor envió una redirección sin dirección web</translation>
    </message>
    <message>
        <source>Too many redirects</source>
        <translation>Demasiadas redirecciones</translation>
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
        <translation>uso: tarvo [--help]

Vigila la Fair Access Policy de un enlace por satélite con límite de datos: primero aparece la ventana de opciones,
después una ventana pequeña y un icono en la bandeja muestran el cubo segundo a segundo.

  --help          esta ayuda

Dónde están sus archivos: man tarvo. Sin ventanas: tarvo-cli --help.
</translation>
    </message>
</context>
<context>
    <name>tarvo-cli</name>
    <message>
        <source>option %1 needs a value</source>
        <translation>la opción %1 necesita un valor</translation>
    </message>
    <message>
        <source>option %1 needs a value, not the option %2</source>
        <translation>la opción %1 necesita un valor, no la opción %2</translation>
    </message>
    <message>
        <source>%1 (%2 took &quot;%3&quot; as its value)</source>
        <translation>%1 (%2 tomó «%3» como su valor)</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>opción desconocida %1</translation>
    </message>
    <message>
        <source>--by takes minute, hour or day, not &quot;%1&quot;</source>
        <translation>--by admite minute, hour o day, no «%1»</translation>
    </message>
    <message>
        <source>%1 takes YYYY-MM-DD or YYYY-MM-DDTHH:MM, not &quot;%2&quot;</source>
        <translation>%1 admite YYYY-MM-DD o YYYY-MM-DDTHH:MM, no «%2»</translation>
    </message>
    <message>
        <source>--speed needs bytes per second above 0 (such as 500000 or 2MB), not &quot;%1&quot;</source>
        <translation>--speed necesita bytes por segundo mayores que 0 (como 500000 o 2MB), no «%1»</translation>
    </message>
    <message>
        <source>--at needs HH:MM today or YYYY-MM-DDTHH:MM, not &quot;%1&quot;</source>
        <translation>--at necesita HH:MM de hoy o YYYY-MM-DDTHH:MM, no «%1»</translation>
    </message>
    <message>
        <source>more than one size: %1</source>
        <translation>más de un tamaño: %1</translation>
    </message>
    <message>
        <source>the size needs a number of bytes above 0 with an optional unit (such as 3GB or 500MB), not &quot;%1&quot;</source>
        <translation>el tamaño necesita un número de bytes mayor que 0 con unidad opcional (como 3GB o 500MB), no «%1»</translation>
    </message>
    <message>
        <source>no size given</source>
        <translation>no se indicó tamaño</translation>
    </message>
    <message>
        <source>--at %1 lies before the bucket was saved (%2)</source>
        <translation>--at %1 es anterior a cuando se guardó el cubo (%2)</translation>
    </message>
    <message>
        <source>%1 bytes at %2 bytes / s, from %3 with %4 bytes in the bucket (throttle limit %5):</source>
        <translation>%1 bytes a %2 bytes/s, desde %3 con %4 bytes en el cubo (límite de limitación %5):</translation>
    </message>
    <message>
        <source>%1 bytes all at once, from %2 with %3 bytes in the bucket (throttle limit %4):</source>
        <translation>%1 bytes de una vez, desde %2 con %3 bytes en el cubo (límite de limitación %4):</translation>
    </message>
    <message>
        <source>frame %1 lies more than %2 days after the first one; a replay covers at most that</source>
        <translation>la trama %1 está más de %2 días después de la primera; una reproducción abarca como mucho eso</translation>
    </message>
    <message>
        <source>cannot write to standard output</source>
        <translation>no se puede escribir en la salida estándar</translation>
    </message>
    <message>
        <source>--used needs a whole number of bytes from -2147483648 to 2147483647, not &quot;%1&quot;</source>
        <translation>--used necesita un número entero de bytes de -2147483648 a 2147483647, no «%1»</translation>
    </message>
    <message>
        <source>%1 needs an IPv4 address in dotted-decimal form or an IPv6 address or network, not &quot;%2&quot;</source>
        <translation>%1 necesita una dirección IPv4 en notación decimal con puntos o una dirección o red IPv6, no «%2»</translation>
    </message>
    <message>
        <source>--mtu needs a whole number of bytes from 0 to %1, not &quot;%2&quot;</source>
        <translation>--mtu necesita un número entero de bytes de 0 a %1, no «%2»</translation>
    </message>
    <message>
        <source>more than one capture file: %1 and %2</source>
        <translation>más de un archivo de captura: %1 y %2</translation>
    </message>
    <message>
        <source>no capture file given</source>
        <translation>no se indicó archivo de captura</translation>
    </message>
    <message>
        <source>cannot read settings file %1: %2</source>
        <translation>no se puede leer el archivo de ajustes %1: %2</translation>
    </message>
    <message>
        <source>settings file %1 is larger than %2 bytes</source>
        <translation>el archivo de ajustes %1 ocupa más de %2 bytes</translation>
    </message>
    <message>
        <source>cannot read capture file %1</source>
        <translation>no se puede leer el archivo de captura %1</translation>
    </message>
    <message>
        <source>%1 carries frames of type %2, which Tarvo cannot read</source>
        <translation>%1 lleva tramas de tipo %2, que Tarvo no sabe leer</translation>
    </message>
    <message>
        <source>cannot read capture file %1: %2</source>
        <translation>no se puede leer el archivo de captura %1: %2</translation>
    </message>
    <message>
        <source>status takes no argument %1</source>
        <translation>status no admite el argumento %1</translation>
    </message>
    <message>
        <source>Tarvo is running but did not answer within %1 s (busy?)</source>
        <translation>Tarvo está en marcha pero no respondió en %1 s (¿ocupado?)</translation>
    </message>
    <message>
        <source>Tarvo is not running (no %1)</source>
        <translation>Tarvo no está en marcha (no hay %1)</translation>
    </message>
    <message>
        <source>Tarvo is not running (%1 is left from a copy that was killed)</source>
        <translation>Tarvo no está en marcha (%1 quedó de una copia que se mató)</translation>
    </message>
    <message>
        <source>cannot reach Tarvo at %1: %2</source>
        <translation>no se puede contactar con Tarvo en %1: %2</translation>
    </message>
    <message>
        <source>Tarvo is running but ended the connection without an answer (a box waiting for an answer?)</source>
        <translation>Tarvo está en marcha pero cerró la conexión sin responder (¿un cuadro esperando respuesta?)</translation>
    </message>
    <message>
        <source>cannot read Tarvo&apos;s answer (not JSON of status version %1)</source>
        <translation>no se puede leer la respuesta de Tarvo (no es JSON de la versión de estado %1)</translation>
    </message>
    <message>
        <source>--seconds needs a whole number of seconds above 0, not &quot;%1&quot;</source>
        <translation>--seconds necesita un número entero de segundos mayor que 0, no «%1»</translation>
    </message>
    <message>
        <source>more than one interface: %1 and %2</source>
        <translation>más de una interfaz: %1 y %2</translation>
    </message>
    <message>
        <source>no interface given</source>
        <translation>no se indicó interfaz</translation>
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
        <translation>pasa un archivo de captura por el clasificador y el cubo, una línea CSV por segundo
        de tiempo de captura</translation>
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
        <translation>ejecuta el clasificador y el cubo en un adaptador en vivo, una línea por segundo, con
        los recuentos propios de la captura</translation>
    </message>
    <message>
        <source>tarvo-cli history [--db FILE] [--by minute|hour|day] [--from DATE] [--to DATE] [--hosts] [--json]</source>
        <translation>tarvo-cli history [--db FILE] [--by minute|hour|day] [--from DATE] [--to DATE] [--hosts] [--json]</translation>
    </message>
    <message>
        <source>prints the usage history, one CSV line per period with its local start</source>
        <translation>muestra el historial de uso, una línea CSV por periodo con su inicio local</translation>
    </message>
    <message>
        <source>tarvo-cli plan SIZE [--speed BYTES_PER_S] [--ini FILE] [--at TIME]</source>
        <translation>tarvo-cli plan SIZE [--speed BYTES_PER_S] [--ini FILE] [--at TIME]</translation>
    </message>
    <message>
        <source>tells when a download of SIZE (3GB, 500MB, ...; 1 KB = 1024 bytes) would be throttled
        and cut off, and the earliest start within 7 days at which it stays below the
        throttle limit; the bucket is the settings&apos; saved one, drained up to the start</source>
        <translation>indica cuándo una descarga de SIZE (3GB, 500MB, ...; 1 KB = 1024 bytes) sería limitada
        y cortada, y el inicio más temprano en 7 días con el que queda por debajo del límite
        de velocidad; el cubo es el guardado en la configuración, vaciado hasta el inicio</translation>
    </message>
    <message>
        <source>plan: --ini defaults to the program&apos;s own tarvo.ini; exit status 0 when the download fits
now, 1 when it does not (the text says when it would).
</source>
        <translation>plan: --ini es por omisión el tarvo.ini del propio programa; código de salida 0 si la
descarga cabe ahora, 1 si no (el texto dice cuándo cabría).
</translation>
    </message>
    <message>
        <source>tarvo-cli status [--json] [--socket PATH]</source>
        <translation>tarvo-cli status [--json] [--socket PATH]</translation>
    </message>
    <message>
        <source>prints the running Tarvo&apos;s figures as one line, for status bars</source>
        <translation>muestra las cifras del Tarvo en marcha en una línea, para barras de estado</translation>
    </message>
    <message>
        <source>status ends with 3 when no Tarvo is running and with 4 when the running one does not answer
within 2 seconds.
</source>
        <translation>status termina con 3 si no hay ningún Tarvo en marcha y con 4 si el que está en marcha no
responde en 2 segundos.
</translation>
    </message>
    <message>
        <source>tarvo-cli set-bucket BYTES|N% [--level]</source>
        <translation>tarvo-cli set-bucket BYTES|N% [--level]</translation>
    </message>
    <message>
        <source>sets the running Tarvo&apos;s bucket from the provider&apos;s remaining allowance (bytes,
        units as for SIZE, or N% of the cut-off limit in force), recorded in the usage history</source>
        <translation>ajusta el cubo del Tarvo en marcha según la cuota restante del proveedor (bytes,
        unidades como en SIZE, o N% del límite de corte vigente), anotado en el historial de uso</translation>
    </message>
    <message>
        <source>set-bucket ends with 3 and 4 as status does, and with 5 when Tarvo refuses the figure
(no Ok yet, or beyond the bucket).
</source>
        <translation>set-bucket termina con 3 y 4 como status, y con 5 si Tarvo rechaza la cifra
(aún sin Aceptar, o fuera del cubo).
</translation>
    </message>
    <message>
        <source>  --ini FILE      settings and bucket from a tarvo.ini (read only)
</source>
        <translation>  --ini FILE      configuración y cubo de un tarvo.ini (solo lectura)
</translation>
    </message>
    <message>
        <source>  --used BYTES    the bucket level to start from, instead of the file&apos;s
</source>
        <translation>  --used BYTES    el nivel del cubo del que partir, en lugar del del archivo
</translation>
    </message>
    <message>
        <source>  --lan ADDR      an address that counts as this computer&apos;s (repeatable); IPv4, or IPv6
                  with or without a prefix length (2001:db8:1::/64)
</source>
        <translation>  --lan ADDR      una dirección que cuenta como de este equipo (repetible); IPv4, o IPv6
                  con o sin longitud de prefijo (2001:db8:1::/64)
</translation>
    </message>
    <message>
        <source>  --ignore ADDR   an address whose traffic never counts (repeatable), as for --lan
</source>
        <translation>  --ignore ADDR   una dirección cuyo tráfico nunca cuenta (repetible), como en --lan
</translation>
    </message>
    <message>
        <source>  --no-192        do not count every 192.168.*.* address as the LAN&apos;s
</source>
        <translation>  --no-192        no contar toda dirección 192.168.*.* como de la LAN
</translation>
    </message>
    <message>
        <source>  --mtu BYTES     the captured adapter&apos;s MTU (default 1500): a longer TCP frame was merged
                  on receipt and counts the headers of each segment; 0 counts as captured
</source>
        <translation>  --mtu BYTES     la MTU del adaptador capturado (por omisión 1500): una trama TCP más larga se
                  unió al recibirla y cuenta las cabeceras de cada segmento; 0 cuenta tal como se capturó
</translation>
    </message>
    <message>
        <source>  --seconds N     stop watching after N seconds (default: at SIGINT or SIGTERM)
</source>
        <translation>  --seconds N     dejar de vigilar tras N segundos (por omisión: con SIGINT o SIGTERM)
</translation>
    </message>
    <message>
        <source>  --history FILE  record each minute into this usage history
</source>
        <translation>  --history FILE  registrar cada minuto en este historial de uso
</translation>
    </message>
    <message>
        <source>  --every N       a line each N seconds (default 1), its down, up and packets the sums
                  of those seconds; the metrics file is written with each line
</source>
        <translation>  --every N       una línea cada N segundos (por omisión 1), con down, up y packets sumados
                  en esos segundos; el archivo de métricas se escribe con cada línea
</translation>
    </message>
    <message>
        <source>  --status-socket PATH  answer tarvo-cli status --socket PATH there, as Tarvo does
</source>
        <translation>  --status-socket PATH  responder allí a tarvo-cli status --socket PATH, como hace Tarvo
</translation>
    </message>
    <message>
        <source>  --metrics-file PATH  keep the figures there in the Prometheus text format, replaced whole
                  (for node_exporter&apos;s textfile collector)
</source>
        <translation>  --metrics-file PATH  mantener allí las cifras en el formato de texto de Prometheus, reemplazado
                  entero (para el textfile collector de node_exporter)
</translation>
    </message>
    <message>
        <source>  --alerts        run the alert commands of the settings&apos; [Alerts] at each alert
</source>
        <translation>  --alerts        ejecutar en cada alerta los comandos de [Alerts] de la configuración
</translation>
    </message>
    <message>
        <source>  --db FILE       the usage history to read (default: tarvo-history.sqlite beside tarvo.ini)
</source>
        <translation>  --db FILE       el historial de uso que leer (por omisión: tarvo-history.sqlite junto a tarvo.ini)
</translation>
    </message>
    <message>
        <source>  --by SIZE       minute, hour or day periods (default: day)
</source>
        <translation>  --by SIZE       periodos de minute, hour o day (por omisión: day)
</translation>
    </message>
    <message>
        <source>  --from DATE     the first local date or time shown (YYYY-MM-DD or YYYY-MM-DDTHH:MM)
</source>
        <translation>  --from DATE     la primera fecha u hora local mostrada (YYYY-MM-DD o YYYY-MM-DDTHH:MM)
</translation>
    </message>
    <message>
        <source>  --to DATE       the end: a local time, or a date whose day is included
</source>
        <translation>  --to DATE       el final: una hora local, o una fecha cuyo día se incluye
</translation>
    </message>
    <message>
        <source>  --hosts         the download of each LAN host over the periods instead
</source>
        <translation>  --hosts         en su lugar, la descarga de cada equipo de la LAN en los periodos
</translation>
    </message>
    <message>
        <source>  --speed BYTES_PER_S  the download&apos;s speed (units as for SIZE); default: all at once,
                  the worst case, so a start that fits then fits at any speed
</source>
        <translation>  --speed BYTES_PER_S  la velocidad de la descarga (unidades como en SIZE); por omisión: todo de
                  una vez, el peor caso, así un inicio que cabe cabe a cualquier velocidad
</translation>
    </message>
    <message>
        <source>  --at TIME       plan from HH:MM today or YYYY-MM-DDTHH:MM instead of now
</source>
        <translation>  --at TIME       planificar desde HH:MM de hoy o YYYY-MM-DDTHH:MM en lugar de ahora
</translation>
    </message>
    <message>
        <source>  --json          history: one JSON object a line instead of CSV; status: one line of JSON
</source>
        <translation>  --json          history: un objeto JSON por línea en lugar de CSV; status: una línea de JSON
</translation>
    </message>
    <message>
        <source>  --socket PATH   status: ask a tarvo-cli watch --status-socket PATH instead of Tarvo
</source>
        <translation>  --socket PATH   status: preguntar a un tarvo-cli watch --status-socket PATH en lugar de a Tarvo
</translation>
    </message>
    <message>
        <source>  --level         the figure is the bucket level in bytes, not the allowance left
</source>
        <translation>  --level         la cifra es el nivel del cubo en bytes, no la cuota restante
</translation>
    </message>
    <message>
        <source>  --help          this help; after a command, that command&apos;s help alone
</source>
        <translation>  --help          esta ayuda; tras un comando, solo la ayuda de ese comando
</translation>
    </message>
    <message>
        <source>Errors go to standard error as one line, with exit status 2.
</source>
        <translation>Los errores van a la salida de error estándar en una línea, con código de salida 2.
</translation>
    </message>
    <message>
        <source>usage: tarvo-cli replay|watch|history|plan|status|set-bucket ... (tarvo-cli --help tells more)</source>
        <translation>uso: tarvo-cli replay|watch|history|plan|status|set-bucket ... (tarvo-cli --help da más detalles)</translation>
    </message>
    <message>
        <source>unknown command %1 (known: replay, watch, history, plan, status, set-bucket)</source>
        <translation>orden desconocida %1 (conocidas: replay, watch, history, plan, status, set-bucket)</translation>
    </message>
    <message>
        <source>cannot write the metrics file %1: %2</source>
        <translation>no se puede escribir el archivo de métricas %1: %2</translation>
    </message>
    <message>
        <source>--every needs a whole number of seconds above 0, not &quot;%1&quot;</source>
        <translation>--every necesita un número entero de segundos mayor que 0, no «%1»</translation>
    </message>
    <message>
        <source>%1 is there already and is no socket</source>
        <translation>%1 ya existe y no es un socket</translation>
    </message>
    <message>
        <source>cannot listen on the status socket %1</source>
        <translation>no se puede escuchar en el socket de estado %1</translation>
    </message>
</context>
</TS>
