#!/usr/bin/env bash
# Whole-process timing of `gamarium-cli publish` against lftp's
# `mirror -R --only-newer` of the same folder to the same local servers:
#
#   bench/publish_bench.sh [WORKDIR]        (default /tmp/gamarium-publish-bench)
#
# The site: the 30,000-game catalogue of bench/pages_bench.sh written with
# examples/site.htd (about 3,700 pages in one folder). Servers on 127.0.0.1,
# started here on free ports: OpenSSH's sshd (SFTP, key login) and vsftpd
# (plain FTP, password login), as the tests start them; needs root, as
# vsftpd logs a local user in (the tests' account "gamarium-publish").
#   first      every page sent to an empty remote folder (gamarium with a
#              fresh record; lftp mirror with its default single connection)
#   one change one page changed (a game edited), everything else as sent;
#              beside it, what no publishing program can go below here:
#              gamarium-cli's own start (--help), and one login alone
#              (curl, on the same libcurl and libssh2, logging in and
#              asking for the remote root's status)
# Goals: first publish at most 1.0x lftp's time; after one change at most
# 0.05x lftp's time.
#
# GAMARIUM_CLI names the gamarium-cli to time (default build/src/cli/gamarium-cli);
# RUNS the number of timed runs of each command (default 5); CASES the
# cases to time (default "first change").
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/tmp/gamarium-publish-bench}
cli=${GAMARIUM_CLI:-$root/build/src/cli/gamarium-cli}
runs=${RUNS:-5}
cases=${CASES:-first change}
[ "$(id -u)" -eq 0 ] || { echo "publish_bench.sh: run as root (vsftpd logs a local user in)" >&2; exit 1; }
for p in hyperfine lftp curl; do
  command -v $p >/dev/null || { apt-get update -qq; DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $p; }
done

PREPARE_ONLY=1 "$root/bench/pages_bench.sh" "$work/catalogue"
site=$work/site
if [ ! -e "$site/a.htm" ]; then
  mkdir -p "$site"
  "$cli" --home "$work/catalogue/home" pages Bench "$root/examples/site.htd" "$site"
fi
echo "site: $(find "$site" -type f | wc -l) files, $(du -sh "$site" | cut -f1)"

# The account the servers log in, shared with the tests: made under the
# "account" lock when missing, used under the "users" lock held shared, and
# removed by the last of the processes using it (as the tests do).
account=gamarium-publish
locks=/var/lib/gamarium-publish-test
mkdir -p "$locks"
exec 8>>"$locks/account" 9>>"$locks/users"
flock -x 8
flock -s 9
password=$(cat "$locks/password" 2>/dev/null || true)
if ! id "$account" >/dev/null 2>&1 || [ -z "$password" ]; then
  id "$account" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$account"
  password="Pw-$RANDOM-$RANDOM-$RANDOM"
  echo "$account:$password" | chpasswd
  (umask 077; echo "$password" > "$locks/password")
fi
flock -u 8
release_account() {
  flock -x 8
  if flock -x -n 9 && userdel --remove "$account" 2>/dev/null; then rm -f "$locks/password"; fi
}

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
servers=$work/servers; client=$work/client; remote=$work/remote
rm -rf "$servers" "$client" "$remote"
mkdir -p "$servers/empty" "$client/.ssh" "$remote" /run/sshd
chmod 755 "$work"; chown "$account" "$remote"
ssh_port=$(free_port); ftp_port=$(free_port)
ssh-keygen -q -t ed25519 -N '' -f "$servers/host_key"
ssh-keygen -q -t ed25519 -N '' -f "$client/.ssh/id_ed25519"
cp "$client/.ssh/id_ed25519.pub" "$servers/authorized_keys"
echo "[127.0.0.1]:$ssh_port $(cut -d' ' -f1,2 "$servers/host_key.pub")" > "$client/.ssh/known_hosts"
echo "machine 127.0.0.1 login $account password $password" > "$client/.netrc"
cat > "$servers/sshd_config" <<CONF
Port $ssh_port
ListenAddress 127.0.0.1
HostKey $servers/host_key
AuthorizedKeysFile $servers/authorized_keys
StrictModes no
AllowUsers $account
MaxStartups 100
Subsystem sftp internal-sftp
CONF
cat > "$servers/vsftpd.conf" <<CONF
listen=YES
listen_address=127.0.0.1
listen_port=$ftp_port
background=NO
anonymous_enable=NO
local_enable=YES
write_enable=YES
local_umask=022
local_root=$remote
pasv_address=127.0.0.1
seccomp_sandbox=NO
isolate=NO
isolate_network=NO
secure_chroot_dir=$servers/empty
pam_service_name=vsftpd
max_clients=100
max_per_ip=100
CONF
/usr/sbin/sshd -D -e -f "$servers/sshd_config" 2>"$servers/sshd.log" &
sshd_pid=$!
/usr/sbin/vsftpd "$servers/vsftpd.conf" >"$servers/vsftpd.log" 2>&1 &
vsftpd_pid=$!
trap 'kill $sshd_pid $vsftpd_pid 2>/dev/null || true; sleep 0.5; release_account' EXIT
sleep 1

export HOME=$client
ssh_command="ssh -a -x -i $client/.ssh/id_ed25519 -o UserKnownHostsFile=$client/.ssh/known_hosts -o BatchMode=yes"
lftp_sftp="set sftp:connect-program '$ssh_command'; open -u $account, -p $ssh_port sftp://127.0.0.1"
lftp_ftp="set ftp:ssl-allow no; open -u $account,$password -p $ftp_port ftp://127.0.0.1"
page=$site/m.htm
declare -A url=([sftp]="sftp://$account@127.0.0.1:$ssh_port$remote/g-sftp" [ftp]="ftp://$account@127.0.0.1:$ftp_port/g-ftp")
declare -A lftp_open=([sftp]="$lftp_sftp" [ftp]="$lftp_ftp")
declare -A lftp_target=([sftp]="$remote/l-sftp" [ftp]="l-ftp")

declare -A login=(
  [sftp]="curl -s -I --key '$client/.ssh/id_ed25519' --pubkey '$client/.ssh/id_ed25519.pub' sftp://$account@127.0.0.1:$ssh_port/"
  [ftp]="curl -s -I --netrc ftp://$account@127.0.0.1:$ftp_port/")

for proto in sftp ftp; do
  g="'$cli' --home '$work/program-$proto' publish '$site' '${url[$proto]}'"
  l="lftp -e \"${lftp_open[$proto]}; mirror -R --only-newer '$site' '${lftp_target[$proto]}'; quit\""
  if [[ " $cases " == *" first "* ]]; then
    hyperfine --runs "$runs" --export-json "$work/first-$proto.json" \
      --prepare "rm -rf '$remote'/*-$proto '$work/program-$proto'" \
      -n "gamarium-$proto" "$g" -n "lftp-$proto" "$l"
  fi
  if [[ " $cases " == *" change "* ]]; then
    # One page changed, after a whole publish by each.
    rm -rf "$remote"/*-$proto "$work/program-$proto"
    eval "$g" >/dev/null
    eval "$l" >/dev/null
    hyperfine --runs "$runs" --export-json "$work/change-$proto.json" \
      --prepare "echo '<!-- $RANDOM -->' >> '$page'" \
      -n "gamarium-$proto" "$g" -n "lftp-$proto" "$l" \
      -n "start-gamarium" "'$cli' --help" -n "login-$proto" "${login[$proto]}"
  fi
done

python3 - "$work" "$cases" <<'PY'
import json, sys
work, cases = sys.argv[1], sys.argv[2].split()
for proto in ("sftp", "ftp"):
    for case, goal in (("first", 1.0), ("change", 0.05)):
        if case not in cases:
            continue
        median = {r["command"]: r["median"] for r in json.load(open(f"{work}/{case}-{proto}.json"))["results"]}
        g, l = median[f"gamarium-{proto}"], median[f"lftp-{proto}"]
        print(f"{proto:4} {case:6}: gamarium {g:.3f} s, lftp {l:.3f} s, ratio {g / l:.3f} (goal <= {goal})")
        if case == "change":
            s, n = median["start-gamarium"], median[f"login-{proto}"]
            print(f"{'':4} {'':6}  floor: gamarium-cli's start {s:.3f} s + one login {n:.3f} s"
                  f" = {s + n:.3f} s, ratio {(s + n) / l:.3f}")
PY
