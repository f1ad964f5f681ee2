#!/usr/bin/env python3
"""Writes every `run:` step of GitHub workflows out as a script for shellcheck.

usage: workflow_run_steps.py OUTDIR DOCS WORKFLOW...

Each step becomes OUTDIR/<workflow>.<job>.<step number>.sh with a shebang for
the shell the runner would use. A `${{ ... }}` left in a script becomes a
placeholder word, since the runner pastes its value in before the shell runs.

Fails (status 1, one line per fault) when a workflow does not parse, a step
names a shell this cannot check, a script pastes in a secret or event text
(those go through env:, where the shell cannot mistake them for code), or a
job that uses secrets does not check all of them in its first step or DOCS
does not name them.
"""

import pathlib
import re
import sys

import yaml

EXPRESSION = re.compile(r"\$\{\{(.*?)\}\}", re.S)
SECRET = re.compile(r"\bsecrets\.([A-Za-z_][A-Za-z0-9_]*)")
# Text an outsider or a secret supplies; pasted into a script it can run.
UNSAFE_IN_SCRIPT = re.compile(r"\bsecrets\.|\bgithub\.event\.|\bgithub\.head_ref\b")
PLACEHOLDER = "GHA_EXPRESSION"
SHELLS = {"bash": "#!/usr/bin/env bash", "sh": "#!/bin/sh"}


def shell_of(step, job, workflow):
    for holder in (step, (job.get("defaults") or {}).get("run") or {},
                   (workflow.get("defaults") or {}).get("run") or {}):
        if holder.get("shell"):
            return pathlib.PurePosixPath(str(holder["shell"]).split()[0]).name
    return "bash"


def secrets_in(value):
    if isinstance(value, dict):
        return set().union(*map(secrets_in, value.values()))
    if isinstance(value, list):
        return set().union(*map(secrets_in, value))
    return set(SECRET.findall(str(value))) - {"GITHUB_TOKEN"}


def check_secrets_first(where, job, docs_text, faults):
    """Every secret the job uses is in the first step's env and its script."""
    used = secrets_in(job)
    if not used:
        return
    first = (job.get("steps") or [{}])[0]
    env = first.get("env") or {}
    script = first.get("run") or ""
    for name in sorted(used):
        variables = [var for var, value in env.items() if name in secrets_in(value)]
        if not variables or not all(re.search(rf"\b{re.escape(var)}\b", script) for var in variables):
            faults.append(f"{where}: its first step does not check the secret {name}")
        if not re.search(rf"\b{re.escape(name)}\b", docs_text):
            faults.append(f"{where}: the secret {name} is not named in the docs")


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
            workflow = yaml.safe_load(path.read_text())
        except (OSError, yaml.YAMLError) as error:
            faults.append(f"{path}: does not parse: {error}")
            continue
        jobs = workflow.get("jobs") if isinstance(workflow, dict) else None
        if not isinstance(jobs, dict) or not jobs:
            faults.append(f"{path}: has no jobs")
            continue
        for job_id, job in jobs.items():
            where = f"{path.name} job {job_id}"
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
                for expression in EXPRESSION.findall(script):
                    if UNSAFE_IN_SCRIPT.search(expression):
                        faults.append(f"{label}: pastes ${{{{{expression.strip()}}}}} into the script; pass it through env:")
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
