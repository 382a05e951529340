#!/bin/sh
# The host side of the real-program tests, run by telnetd -E on its pty: an
# interactive POSIX shell with the terminfo directory the build compiled the
# client's description into, a home in the test's own directory and a plain
# "$ " prompt. TERM comes from the daemon: the terminal type the client
# announced, lower-cased.
#   shell_host.sh TERMINFO_DIR HOME_DIR
TERMINFO=$1
HOME=$2
PS1='$ '
LC_ALL=C
PATH=/usr/local/bin:/usr/bin:/bin
export TERMINFO HOME PS1 LC_ALL PATH
unset LESS LESSOPEN VIMINIT EXINIT
cd "$HOME" || exit 1
exec /bin/sh -i
