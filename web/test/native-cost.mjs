// What a frame costs natively, for the browser's figure: `tolvek render` over a whole cycle in
// silence, and the window's palette conversion from the presentation benchmark.
import {spawnSync} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

export function nativeCost(native, work, clock) {
  const env = {...process.env, TOLVEK_DISPLAY: 'headless'};
  // The fastest of three runs of the cycle, less the fastest run of one frame (the process's
  // start, the data pack's loading and one picture written).
  const run = (last) => {
    const start = process.hrtime.bigint();
    spawnSync(path.join(native, 'tolvek'), ['render', '--silence', '--clock', String(clock), '--frames',
      `${last}-${last}`, '--png-dir', fs.mkdtempSync(path.join(work, 'cost-'))], {env});
    return Number(process.hrtime.bigint() - start) / 1e6;
  };
  const fastest = (last) => Math.min(run(last), run(last), run(last));
  const render = (fastest(4180) - fastest(1)) / 4179;
  let conversion = NaN;
  const bench = path.join(native, 'bench', 'tolvek_bench');
  if (fs.existsSync(bench)) {
    const run = spawnSync(bench, ['--benchmark_filter=^BM_PresentConversion$', '--benchmark_format=json'],
      {encoding: 'utf8', env});
    try {
      const result = JSON.parse(run.stdout).benchmarks[0];
      conversion = result.real_time / (result.time_unit === 'us' ? 1000 : result.time_unit === 'ns' ? 1e6 : 1);
    } catch (e) {
      conversion = NaN;
    }
  }
  return {render, conversion};
}
