# SPDX-FileCopyrightText: 2026 The Pentaro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Install step: writes the lobby host's systemd unit and its environment file for the prefix used
# now (the package's /usr, or `cmake --install --prefix`), because the unit names both by their
# installed paths. Set before it runs: PENTARO_PACKAGING_DIR, PENTARO_STAGING_DIR, PENTARO_BINDIR.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(config_dir /etc/default)  # a system install keeps its settings in /etc
else()
  set(config_dir ${CMAKE_INSTALL_PREFIX}/etc/default)
endif()
set(PENTARO_ENVIRONMENT_FILE ${config_dir}/pentaro-lobby)
set(PENTARO_LOBBY_PROGRAM ${CMAKE_INSTALL_PREFIX}/${PENTARO_BINDIR}/pentaro-lobby)

set(staged ${PENTARO_STAGING_DIR}/pentaro-lobby.service)
configure_file(${PENTARO_PACKAGING_DIR}/pentaro-lobby.service.in ${staged} @ONLY)
file(INSTALL ${staged} DESTINATION ${CMAKE_INSTALL_PREFIX}/lib/systemd/system)
file(INSTALL ${PENTARO_PACKAGING_DIR}/pentaro-lobby.default DESTINATION ${config_dir}
     RENAME pentaro-lobby)
