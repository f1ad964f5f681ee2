#!/usr/bin/env python3
"""Checks GitHub workflows and writes every `run:` step out as a script for shellcheck.

usage: workflow_run_steps.py OUTDIR DOCS WORKFLOW...

Each step becomes OUTDIR/<workflow>.<job>.<step number>.sh with a shebang for
the shell the runner would use. A `${{ ... }}` left in a script becomes a
placeholder word, since the runner pastes its value in before the shell runs.

Fails (status 1, one line per fault) when a workflow
- does not parse, or a step names a shell this cannot check;
- has no top-level permissions, or top-level permissions that can write, or
  a job without permissions of its own;
- uses an action or reusable workflow not pinned to a full commit SHA with
  its version in a comment on the same line;
- checks out without `persist-credentials: false`;
- references a secret or the job's token anywhere but in the env: or with:
  of the step that uses it (a job or workflow env hands it to every step),
  hands a step a secret its script never reads, or pastes a secret or event
  text into a script (those go through env:, where the shell cannot mistake
  them for code);
- has a job that uses secrets without testing, in its first step, that each
  is set (`secrets.NAME != ''`, so the test sees only true or false), or whose
  secrets DOCS does not name;
- replaces release assets (`--clobber`): a published zip must never change;
- runs on a moving runner image (`-latest`), or on macOS without a pinned
  Xcode (DEVELOPER_DIR), for any row of its matrix;
- calls a workflow of this repository and builds on macOS itself with an
  image and Xcode that the called workflow does not test.
"""

import pathlib
import re
import sys

import yaml

EXPRESSION = re.compile(r"\$\{\{(.*?)\}\}", re.S)
SECRET = re.compile(r"\bsecrets\.([A-Za-z_][A-Za-z0-9_]*)")
TOKEN = re.compile(r"\bsecrets\.GITHUB_TOKEN\b|\bgithub\.token\b")
# An expression that only tests whether one secret is set: its value is
# "true" or "false", never the secret.
PRESENCE = re.compile(r"^\s*secrets\.([A-Za-z_][A-Za-z0-9_]*)\s*!=\s*''\s*$")
# Text an outsider or a secret supplies; pasted into a script it can run.
UNSAFE_IN_SCRIPT = re.compile(r"\bsecrets\.|\bgithub\.event\.|\bgithub\.head_ref\b|\bgithub\.token\b")
PINNED = re.compile(r"^[A-Za-z0-9_.-]+/[A-Za-z0-9_.-]+(/[^@\s]+)?@[0-9a-f]{40}$")
VERSION_COMMENT = r"\s*#\s*v?\d+(\.\d+)*\b"
PLACEHOLDER = "GHA_EXPRESSION"
SHELLS = {"bash": "#!/usr/bin/env bash", "sh": "#!/bin/sh"}


def shell_of(step, job, workflow):
    for holder in (step, (job.get("defaults") or {}).get("run") or {},
                   (workflow.get("defaults") or {}).get("run") or {}):
        if holder.get("shell"):
            return pathlib.PurePosixPath(str(holder["shell"]).split()[0]).name
    return "bash"


def walk(value, path=()):
    """Every string in a parsed workflow, with the keys that lead to it."""
    if isinstance(value, dict):
        for key, item in value.items():
            yield from walk(item, path + (str(key),))
    elif isinstance(value, list):
        for index, item in enumerate(value):
            yield from walk(item, path + (index,))
    elif value is not None:
        yield path, str(value)


def expressions(text):
    return [expression.strip() for expression in EXPRESSION.findall(text)]


def by_value(text):
    """The secrets an env or with value hands over, not merely tests."""
    names = set()
    for expression in expressions(text):
        if not PRESENCE.match(expression):
            names |= set(SECRET.findall(expression))
    return names - {"GITHUB_TOKEN"}


def tested(text):
    return {m.group(1) for e in expressions(text) if (m := PRESENCE.match(e))}


def referenced(text):
    """The secrets (and "token" for the job's token) a text's expressions name."""
    names = set()
    for expression in expressions(text):
        names |= set(SECRET.findall(expression))
        if TOKEN.search(expression):
            names.add("token")
    return names - {"GITHUB_TOKEN"}


def reads(script, variable):
    return re.search(rf"\b{re.escape(variable)}\b", script) is not None


def check_permissions(where, workflow, jobs, faults):
    top = workflow.get("permissions")
    if top is None:
        faults.append(f"{where}: has no top-level permissions (the default token may write)")
    elif isinstance(top, dict):
        writes = sorted(k for k, v in top.items() if str(v) not in ("read", "none"))
        if writes:
            faults.append(f"{where}: its top-level permissions can write ({', '.join(writes)}); "
                          "ask for write in the job that needs it")
    elif str(top) != "read-all":
        faults.append(f"{where}: its top-level permissions can write ({top})")
    for job_id, job in jobs.items():
        if "permissions" not in job:
            faults.append(f"{where} job {job_id}: has no permissions of its own")


def check_pins(where, text, jobs, faults):
    lines = text.splitlines()
    used = [(f"job {job_id}", job["uses"]) for job_id, job in jobs.items() if "uses" in job]
    for job_id, job in jobs.items():
        for number, step in enumerate(job.get("steps") or [], 1):
            if "uses" in step:
                used.append((f"job {job_id} step {number}", step["uses"]))
    for place, target in used:
        target = str(target)
        if target.startswith("./"):
            continue  # this repository's own workflow, at the same commit
        if target.startswith("docker://"):
            if "@sha256:" not in target:
                faults.append(f"{where} {place}: uses {target}, not pinned to a digest")
            continue
        if not PINNED.match(target):
            faults.append(f"{where} {place}: uses {target}, not pinned to a full commit SHA")
            continue
        line = re.compile(rf"^\s*(-\s+)?uses:\s*['\"]?{re.escape(target)}['\"]?{VERSION_COMMENT}")
        if not any(line.match(raw) for raw in lines):
            faults.append(f"{where} {place}: pins {target} without its version in a comment (# vX.Y.Z)")


def check_checkouts(where, jobs, faults):
    for job_id, job in jobs.items():
        for number, step in enumerate(job.get("steps") or [], 1):
            if str(step.get("uses", "")).startswith("actions/checkout@"):
                persist = (step.get("with") or {}).get("persist-credentials", True)
                if str(persist).lower() != "false":
                    faults.append(f"{where} job {job_id} step {number}: checks out with persisted credentials "
                                  "(set persist-credentials: false)")


def check_secret_places(where, workflow, jobs, faults):
    """Secrets and the token only in the env: or with: of a step; a step's
    secret env variables read by its script."""
    for path, text in walk(workflow):
        names = referenced(text)
        in_step = len(path) >= 6 and path[0] == "jobs" and path[2] == "steps" and path[4] in ("env", "with")
        if names and not in_step:
            if len(path) >= 4 and path[0] == "jobs" and path[2] == "steps":
                place = f"job {path[1]} step {path[3] + 1} {'.'.join(map(str, path[4:]))}"
            else:
                place = ".".join(map(str, path))
            faults.append(f"{where}: references {', '.join(sorted(names))} outside the step that uses it ({place})")
    for job_id, job in jobs.items():
        if job.get("secrets") == "inherit":
            faults.append(f"{where} job {job_id}: hands every secret to the called workflow (secrets: inherit)")
        for number, step in enumerate(job.get("steps") or [], 1):
            if "run" not in step:
                continue  # an action reads its environment itself
            script = str(step["run"])
            for variable, value in (step.get("env") or {}).items():
                for name in sorted(by_value(str(value))):
                    if not reads(script, variable):
                        faults.append(f"{where} job {job_id} step {number}: is handed secrets.{name} as {variable}, "
                                      "which its script does not use")


def check_secrets_first(where, job, docs_text, faults):
    """Every secret the job uses is tested for presence in the first step,
    which holds none of their values."""
    used = set()
    for _, text in walk(job):
        used |= referenced(text)
    used.discard("token")
    if not used:
        return
    first = (job.get("steps") or [{}])[0]
    env = first.get("env") or {}
    script = str(first.get("run") or "")
    for variable, value in env.items():
        for name in sorted(by_value(str(value))):
            faults.append(f"{where}: its first step holds the value of secrets.{name} ({variable}); "
                          f"test it with secrets.{name} != ''")
    for name in sorted(used):
        variables = [var for var, value in env.items() if name in tested(str(value))]
        if not variables or not all(reads(script, var) for var in variables):
            faults.append(f"{where}: its first step does not check that the secret {name} is set")
        if not re.search(rf"\b{re.escape(name)}\b", docs_text):
            faults.append(f"{where}: the secret {name} is not named in the docs")


MATRIX_VALUE = re.compile(r"^\$\{\{\s*matrix\.([A-Za-z_][A-Za-z0-9_-]*)\s*\}\}$")


def matrix_rows(job):
    """The combinations of a job's matrix, each a dict of its values (one
    empty row without a matrix)."""
    matrix = (job.get("strategy") or {}).get("matrix") or {}
    rows = [{}]
    for key, values in matrix.items():
        if key in ("include", "exclude") or not isinstance(values, list):
            continue
        rows = [{**row, key: value} for row in rows for value in values]
    include = matrix.get("include") or []
    if include and rows == [{}]:
        return [dict(entry) for entry in include]
    return rows + [dict(entry) for entry in include if entry not in rows]


def resolved(value, row):
    """A `${{ matrix.X }}` value as one row of the matrix gives it."""
    match = MATRIX_VALUE.match(str(value).strip())
    return str(row.get(match.group(1), "")) if match else str(value)


def check_runner(where, workflow, job, faults):
    runs_on = job.get("runs-on")
    if runs_on is None:
        return  # a call of a reusable workflow
    env = {**(workflow.get("env") or {}), **(job.get("env") or {})}
    for row in matrix_rows(job):
        labels = runs_on if isinstance(runs_on, list) else [runs_on]
        for label in (resolved(label, row) for label in labels):
            if label.endswith("-latest"):
                faults.append(f"{where}: runs on {label}, which moves to a new image; pin one (e.g. macos-15)")
            if label.startswith("macos") and not resolved(env.get("DEVELOPER_DIR", ""), row):
                faults.append(f"{where}: runs on {label} without a pinned Xcode (DEVELOPER_DIR)")


def toolchains(job):
    """The (image, DEVELOPER_DIR) pairs a job runs with on macOS."""
    env = job.get("env") or {}
    pairs = set()
    for row in matrix_rows(job):
        labels = job.get("runs-on")
        for label in (labels if isinstance(labels, list) else [labels]):
            if str(resolved(label, row)).startswith("macos"):
                pairs.add((resolved(label, row), resolved(env.get("DEVELOPER_DIR", ""), row)))
    return pairs


def check_called_toolchains(path, jobs, faults):
    """A workflow that calls another of this repository and builds on macOS
    itself uses an image and Xcode the called one tests."""
    called = set()
    for job in jobs.values():
        target = str(job.get("uses", ""))
        if target.startswith("./"):
            try:
                other = yaml.safe_load((path.parent / pathlib.PurePosixPath(target).name).read_text())
            except (OSError, yaml.YAMLError):
                continue
            for other_job in (other.get("jobs") or {}).values():
                called |= toolchains(other_job)
    if not called:
        return
    for job_id, job in jobs.items():
        for image, xcode in sorted(toolchains(job) - called):
            faults.append(f"{path.name} job {job_id}: builds on {image} with {xcode or 'no pinned Xcode'}, "
                          "which the workflow it calls first does not test")


def main(argv):
    if len(argv) < 4:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    outdir = pathlib.Path(argv[1])
    docs_text = pathlib.Path(argv[2]).read_text()
    faults = []
    written = 0
    for path in map(pathlib.Path, argv[3:]):
        try:
            text = path.read_text()
            workflow = yaml.safe_load(text)
        except (OSError, yaml.YAMLError) as error:
            faults.append(f"{path}: does not parse: {error}")
            continue
        jobs = workflow.get("jobs") if isinstance(workflow, dict) else None
        if not isinstance(jobs, dict) or not jobs:
            faults.append(f"{path}: has no jobs")
            continue
        check_permissions(path.name, workflow, jobs, faults)
        check_pins(path.name, text, jobs, faults)
        check_checkouts(path.name, jobs, faults)
        check_secret_places(path.name, workflow, jobs, faults)
        check_called_toolchains(path, jobs, faults)
        for job_id, job in jobs.items():
            where = f"{path.name} job {job_id}"
            check_runner(where, workflow, job, faults)
            if "uses" in job:
                continue  # a reusable workflow: its own file is checked
            if not isinstance(job.get("steps"), list):
                faults.append(f"{where}: has no steps")
                continue
            check_secrets_first(where, job, docs_text, faults)
            for number, step in enumerate(job["steps"], 1):
                if "run" not in step:
                    continue
                label = f"{where} step {number} ({step.get('name', 'unnamed')})"
                shell = shell_of(step, job, workflow)
                if shell not in SHELLS:
                    faults.append(f"{label}: shell {shell!r} cannot be checked")
                    continue
                script = str(step["run"])
                for expression in expressions(script):
                    if UNSAFE_IN_SCRIPT.search(expression):
                        faults.append(f"{label}: pastes ${{{{ {expression} }}}} into the script; pass it through env:")
                if re.search(r"(^|\s)--clobber\b", script):
                    faults.append(f"{label}: replaces release assets (--clobber); a published release must never change")
                target = outdir / f"{path.stem}.{job_id}.{number:02d}.sh"
                target.write_text(f"{SHELLS[shell]}\n# {label}\n{EXPRESSION.sub(PLACEHOLDER, script)}\n")
                written += 1
    for fault in faults:
        print(f"workflow: {fault}", file=sys.stderr)
    if not faults and not written:
        print("workflow: no run steps found", file=sys.stderr)
        return 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
