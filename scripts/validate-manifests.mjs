// Checks the Kubernetes manifests given on the command line: every document
// against the Kubernetes 1.27 schemas (the npm package kubernetes-models:
// types, formats, required fields, enumerations), and the Deployment against what
// an operator expects of it: resources on every container, no service
// account token, spread across nodes, a disruption budget and an
// autoscaler aimed at it, and probes and a grace period that fit the
// service's drain. Prints one line per check; exits 1 when any fails.
import { readFileSync } from "node:fs";
import yaml from "js-yaml";

const failures = [];
function check(name, ok, detail = "") {
  console.log(`${ok ? "ok  " : "FAIL"} ${name}${detail ? " " + detail : ""}`);
  if (!ok) failures.push(name);
}

async function validate(document, file) {
  const [group, version] = document.apiVersion.includes("/")
    ? document.apiVersion.split("/")
    : [null, document.apiVersion];
  const module = await import(`kubernetes-models/${group ? group + "/" : ""}${version}/${document.kind}`);
  const Model = module[document.kind] ?? module.default;
  const name = `${file}: ${document.kind} ${document.metadata?.name}`;
  try {
    new Model(document).validate();
    check(`${name} is valid against the 1.27 schema`, true);
  } catch (error) {
    check(`${name} is valid against the 1.27 schema`, false, String(error.message ?? error).slice(0, 400));
  }
  return name;
}

const documents = [];
for (const file of process.argv.slice(2)) {
  for (const document of yaml.loadAll(readFileSync(file, "utf8"))) {
    if (!document) continue;
    await validate(document, file.replace(/.*\//, ""));
    documents.push(document);
  }
}

const byKind = (kind) => documents.filter((d) => d.kind === kind);
const deployment = byKind("Deployment")[0];
check("there is a Deployment", Boolean(deployment));
if (deployment) {
  const pod = deployment.spec.template.spec;
  const labels = deployment.spec.selector.matchLabels;
  const selects = (selector) =>
    Object.entries(labels).every(([k, v]) => selector?.matchLabels?.[k] === v);
  check("no service account token is mounted", pod.automountServiceAccountToken === false);
  for (const container of [...(pod.initContainers ?? []), ...pod.containers]) {
    const r = container.resources ?? {};
    check(`${container.name}: requests cpu and memory, limits memory`,
          Boolean(r.requests?.cpu && r.requests?.memory && r.limits?.memory));
  }
  check("no init container copies the index at every start", !(pod.initContainers?.length));
  check("no emptyDir holds the index", !(pod.volumes ?? []).some((v) => v.emptyDir));
  check("spread across nodes",
        (pod.topologySpreadConstraints ?? []).some(
          (c) => c.topologyKey === "kubernetes.io/hostname" && selects(c.labelSelector)));
  const pdb = byKind("PodDisruptionBudget")[0];
  check("a PodDisruptionBudget selects the pods", Boolean(pdb) && selects(pdb.spec.selector));
  const hpa = byKind("HorizontalPodAutoscaler")[0];
  check("a HorizontalPodAutoscaler scales the Deployment on CPU",
        Boolean(hpa) && hpa.spec.scaleTargetRef.kind === "Deployment" &&
        hpa.spec.scaleTargetRef.name === deployment.metadata.name &&
        hpa.spec.metrics.some((m) => m.resource?.name === "cpu"));
  check("the Deployment leaves the replica count to the autoscaler",
        deployment.spec.replicas === undefined);

  const service = pod.containers.find((c) => (c.image ?? "").includes("miravel-poemd"));
  const option = (name, fallback) => {
    const given = (service.args ?? []).find((a) => a.startsWith(`--${name}=`));
    return given ? Number(given.split("=")[1]) : fallback;
  };
  const settle = option("drain-settle", 5), deadline = option("drain-deadline", 25);
  const grace = pod.terminationGracePeriodSeconds ?? 30;
  check("the grace period outlasts the drain (settle and deadline)", grace > settle + deadline,
        `(${grace} s against ${settle} + ${deadline} s)`);
  const readiness = service.readinessProbe, liveness = service.livenessProbe;
  const noticed = (p) => (p.periodSeconds ?? 10) * (p.failureThreshold ?? 3);
  check("readiness fails within the settle time", Boolean(readiness) && noticed(readiness) <= settle,
        readiness ? `(${noticed(readiness)} s against ${settle} s)` : "");
  check("liveness does not fail before the grace period ends",
        Boolean(liveness) && noticed(liveness) > grace,
        liveness ? `(${noticed(liveness)} s against ${grace} s)` : "");
}
if (failures.length) {
  console.log(`${failures.length} checks failed`);
  process.exit(1);
}
