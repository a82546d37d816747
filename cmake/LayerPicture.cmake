# The layers of the suite, bottom up: a layer may use the layers it names
# and what those may use, never a layer below it in this file. README.md
# draws the same picture; scripts/library-graph prints the libraries.

# The platform: what the programs expect of the desktop.
tessaly_layer(platform)                                  # ports: message boxes, sound, processes
tessaly_layer(platform/sys      USES platform)
tessaly_layer(platform/icmp     USES platform)
tessaly_layer(platform/audio    USES platform/sys)
tessaly_layer(platform/web      USES platform/sys)
tessaly_layer(platform/secrets  USES platform)
tessaly_layer(platform/signing)                          # package signatures (libsodium)
tessaly_layer(assets)                                    # the numbered pictures compiled in
tessaly_layer(platform/gui      USES platform/sys assets)

# The client, from the wire up to the program.
tessaly_layer(client/net          USES platform/sys platform/icmp)   # wire, connection, sites, probe
tessaly_layer(client/ui           USES client/net platform/gui platform/audio)
tessaly_layer(client/table        USES client/ui)                    # records, table window
tessaly_layer(client/dispatch     USES client/table)                 # server lines into the records
tessaly_layer(client/diag         USES platform/gui)
tessaly_layer(client/diag/bugrelay USES client/diag client/net platform/web)   # the crash sender
tessaly_layer(client/lobby        USES client/table client/diag platform/secrets)
tessaly_layer(client/app          USES client/lobby client/dispatch platform/web)
tessaly_layer(client/replay       USES client/dispatch)

# The other two programs and the house server.
tessaly_layer(updater           USES client/net platform/gui platform/web platform/signing)
tessaly_layer(netmon            USES client/net platform/gui)
tessaly_layer(server            USES platform/sys platform/signing)

# Tools, tests and benchmarks may use everything.
tessaly_layer(assets/gallery    USES client/ui)
tessaly_layer(tests             USES_ALL)
tessaly_layer(bench             USES_ALL)
