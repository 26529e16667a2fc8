#!/usr/bin/env python3
"""Computes the service listing that Tabulex must write, from sources other
than the service control manager's enumeration:

  - the registry export of HKLM\\System\\CurrentControlSet\\Services (UTF-16
    .reg): which services exist, in the registry's order (the order in which
    the service manager loads them at start), with type, start type, display
    name, binary path and account;
  - `sc query NAME` for each service's current state;
  - the process list of `winedbg --command "info proc"` for process ids,
    matched by the executable name of the binary path.

Usage:
  expected_services.py names SERVICES.reg
      prints the names of the Win32 services in the export, one a line.
  expected_services.py csv SERVICES.reg STATES PROCESSES ACTUAL.csv
      writes the expected CSV bytes to stdout. STATES holds "NAME STATE"
      lines. ACTUAL.csv is read for two things the sources cannot decide
      alone: which of several processes with the same executable a service
      runs in (the actual id must be one of them), and the lines of services
      that live only in the service manager's memory (Wine's driver hosts),
      which follow the registry's services and are checked against STATES and
      PROCESSES but whose texts are taken as written.
"""
import re
import sys

SERVICES_KEY = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\"
START_TYPES = ["Boot", "System", "Automatic", "Manual", "Disabled", "Unknown"]
STATES = ["Stopped", "StartPending", "StopPending", "Running", "ContinuePending", "PausePending", "Unknown Status"]
HEADER = "ServiceName,DisplayName,Service Start Type,Service Status,Service Binary Path,Service Account,PID\r\n"


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append(text[i + 1])
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def read_services(path):
    """[(name, {value: data})] for the direct subkeys of Services, in order."""
    with open(path, "rb") as f:
        raw = f.read()
    text = raw.decode("utf-16")
    lines, pending = [], ""
    for line in text.splitlines():
        if line.endswith("\\") and re.search(r"=hex(\([0-9a-f]+\))?:", pending + line):
            pending += line[:-1].strip()
            continue
        lines.append(pending + line.strip() if pending else line)
        pending = ""
    services, current = [], None
    for line in lines:
        if line.startswith("["):
            key = line[1:-1]
            current = None
            if key.lower().startswith(SERVICES_KEY.lower()):
                rest = key[len(SERVICES_KEY):]
                if rest and "\\" not in rest:
                    current = {}
                    services.append((rest, current))
            continue
        if current is None:
            continue
        m = re.match(r'^"((?:[^"\\]|\\.)*)"=(.*)$', line)
        if not m:
            continue
        name, data = unescape(m.group(1)), m.group(2)
        if data.startswith('"') and data.endswith('"'):
            current[name] = unescape(data[1:-1])
        elif data.startswith("dword:"):
            current[name] = int(data[6:], 16)
        elif data.startswith("hex(2):"):
            blob = bytes(int(b, 16) for b in data[7:].split(",") if b)
            current[name] = blob.decode("utf-16-le").rstrip("\0")
    return services


def win32_services(services):
    return [(n, v) for n, v in services if isinstance(v.get("Type"), int) and v["Type"] & 0x30]


def read_states(path):
    states = {}
    with open(path) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 2:
                states[parts[0].lower()] = int(parts[1])
    return states


def read_processes(path):
    """{executable name in lower case: [pid, ...]}"""
    processes = {}
    with open(path, encoding="latin-1") as f:
        for line in f:
            m = re.match(r"^[ =]([0-9a-fA-F]{8})\s+\d+\s+.*'([^']+)'", line)
            if m:
                processes.setdefault(m.group(2).lower(), []).append(int(m.group(1), 16))
    return processes


def executable_of(binary_path):
    path = binary_path.strip()
    first = path[1:].split('"')[0] if path.startswith('"') else path.split(" ")[0]
    return first.split("\\")[-1].lower()


def state_text(state):
    index = min(state, 7)
    return STATES[index - 1] if index >= 1 else STATES[-1]


def expected_pid(state, candidates, actual_pid):
    if state == 1:
        return "0"
    if len(candidates) == 1:
        return str(candidates[0])
    if actual_pid is not None and actual_pid.isdigit() and int(actual_pid) in candidates:
        return actual_pid
    return "<one of %s>" % candidates


def main():
    if sys.argv[1] == "names":
        for name, _ in win32_services(read_services(sys.argv[2])):
            print(name)
        return
    services = win32_services(read_services(sys.argv[2]))
    states = read_states(sys.argv[3])
    processes = read_processes(sys.argv[4])
    with open(sys.argv[5], "rb") as f:
        actual_lines = f.read().decode("cp1252").split("\r\n")
    actual_pids = {}
    for line in actual_lines[1:]:
        fields = line.split(",")
        if len(fields) >= 7:
            actual_pids[fields[0].lower()] = fields[-1]

    out = [HEADER]
    known = set()
    for name, values in services:
        known.add(name.lower())
        state = states.get(name.lower(), -1)
        path = values.get("ImagePath", "")
        start = values.get("Start", 5)
        pid = expected_pid(state, processes.get(executable_of(path), []), actual_pids.get(name.lower()))
        out.append(",".join([name, values.get("DisplayName", ""), START_TYPES[min(start, 5)], state_text(state),
                             path, values.get("ObjectName", ""), pid]) + "\r\n")

    # Services the manager holds in memory only come after the registry's.
    for line in actual_lines[1 + len(services):]:
        if not line:
            continue
        fields = line.split(",")
        name = fields[0]
        if name.lower() in known or len(fields) != 7:
            out.append("<unexpected line: %s>\r\n" % line)
            continue
        state = states.get(name.lower(), -1)
        pid = expected_pid(state, processes.get(executable_of(fields[4]), []), fields[6])
        out.append(",".join(fields[:3] + [state_text(state)] + fields[4:6] + [pid]) + "\r\n")
    sys.stdout.buffer.write("".join(out).encode("cp1252"))


if __name__ == "__main__":
    main()
