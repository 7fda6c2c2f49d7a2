%QUORVEL Elastic response spectra of a ground-acceleration record.
%   SPECTRA = QUORVEL(AG, DT, M, ZETA, T) integrates, for every natural period T(i) and every
%   damping ratio ZETA(j), the linear single-degree-of-freedom oscillator of mass M under the
%   ground acceleration AG, and returns the peak responses in the structure SPECTRA.
%
%   SPECTRA = QUORVEL(AG, DT, M, ZETA, T, METHOD) chooses the time integration:
%     'recform'  exact recursive solution for a record linear between samples (default)
%     'newmark'  Newmark's constant average acceleration method (beta = 1/4, gamma = 1/2)
%
%   SPECTRA = QUORVEL(AG, DT, M, ZETA, TSTART, TEND, NT) and
%   SPECTRA = QUORVEL(AG, DT, M, ZETA, TSTART, TEND, NT, METHOD) use the NT periods
%   TSTART, TSTART + DT_T, ... with DT_T = (TEND - TSTART)/(NT - 1), accumulated as a running
%   sum (NT is truncated toward zero).
%
%   Inputs
%     AG      ground acceleration, a real double vector (any orientation), in any unit
%     DT      time step of AG, in seconds
%     M       mass (its unit sets the unit of the forces)
%     ZETA    damping ratios, a vector (0.05 for 5 %)
%     T       natural periods in seconds, a vector
%
%   Each analysis covers the record and a free-vibration tail long enough for the motion to decay
%   to 1 % (at most nine record lengths more). Accelerations come out in the unit of AG,
%   displacements in that unit times s^2, velocities in that unit times s.
%
%   Output fields (matrices are numel(T)-by-numel(ZETA): row i is T(i), column j is ZETA(j))
%     pga     peak absolute ground acceleration
%     mass    copy of M
%     zeta    copy of ZETA
%     T       the periods (copy of T, or the generated column)
%     f       natural frequencies 1./T, in Hz (a column)
%     dsp     peak relative displacement
%     vel     peak relative velocity
%     acc     peak relative acceleration
%     totAcc  peak absolute (total) acceleration
%     psdVel  pseudo-velocity, omega*dsp
%     psdAcc  pseudo-acceleration, omega^2*dsp
%     resDsp  absolute displacement at the end of the analysis (residual displacement)
%     iFrc    peak inertial force, M*totAcc
%     dFrc    damping force, 2*zeta*sqrt(k*M) times the peak velocity
%     rFrc    peak restoring force, k times the relative displacement
%
%   Example
%     dt = 0.01; t = (0:1999)'*dt;
%     ag = 0.3*9.81*sin(2*pi*1.5*t).*exp(-0.3*t);
%     s = Quorvel(ag, dt, 1, [0.02 0.05], 0.05, 4, 80);
%     loglog(s.T, s.psdAcc/9.81); xlabel('T (s)'); ylabel('S_a (g)');
%     legend('\zeta = 2 %', '\zeta = 5 %');
%
%   See also DASKENT, MORBANE, TILLOCK, GRANWICK, PELLORY, VINTARROW, BUILD_MEX.

error('Quorvel: the MEX file is not built; run build_mex in the matlab folder');
